// The window-procedure trampoline: the object pointer travels in
// CreateWindowEx's lpParam, is stored at WM_NCCREATE and every later message
// goes to the object's HandleMessage.
#pragma once

#include <windows.h>

template <class Derived>
class BaseWindow {
public:
    virtual ~BaseWindow() = default;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        BaseWindow* self = nullptr;
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            self = static_cast<Derived*>(create->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        } else {
            self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->OnDestroyed();
        }
        return result;
    }

    HWND Window() const { return hwnd_; }

protected:
    // Registers the class once per process.
    static bool Register(HINSTANCE instance, PCWSTR className, HBRUSH background) {
        WNDCLASSEXW wc{};
        if (GetClassInfoExW(instance, className, &wc)) return true;
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = Derived::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        return RegisterClassExW(&wc) != 0;
    }

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // After the last message the window receives.
    virtual void OnDestroyed() {}

    HWND hwnd_ = nullptr;
};
