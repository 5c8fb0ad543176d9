#include "ui/win32/Controls.h"

#include "ui/Application.h"
#include "ui/win32/Wide.h"

namespace {
constexpr wchar_t kLabelClass[] = L"NetClockLabel";
constexpr wchar_t kTimerClass[] = L"NetClockTimer";
}  // namespace

bool Label::Create(HINSTANCE instance, HWND parent, int32_t id, const RECT& place) {
    if (!Register(instance, kLabelClass, nullptr)) return false;
    return CreateWindowExW(0, kLabelClass, L"", WS_CHILD, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           instance, this) != nullptr;
}

void Label::setCaption(const std::string& gbk) {
    caption_ = widen(gbk);
    SetWindowTextW(hwnd_, caption_.c_str());
    InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills the whole area itself
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Label::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT area;
    if (IntersectRect(&area, &ps.rcPaint, &client)) {
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        if (!caption_.empty()) {
            const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            DrawTextW(dc, caption_.c_str(), -1, &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
            SelectObject(dc, oldFont);
        }
    }
    EndPaint(hwnd_, &ps);
}

bool TimerControl::Create(HINSTANCE instance, HWND parent, int32_t windowId, int32_t id, UINT intervalMs) {
    if (!Register(instance, kTimerClass, nullptr)) return false;
    windowId_ = windowId;
    id_ = id;
    intervalMs_ = intervalMs;
    return CreateWindowExW(0, kTimerClass, L"", WS_CHILD, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this) != nullptr;
}

LRESULT TimerControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            if (intervalMs_ > 0) SetTimer(hwnd_, kTimerId, intervalMs_, nullptr);
            return 0;
        case WM_TIMER:
            Application::instance().raiseEvent(windowId_, id_, 0);
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kTimerId);
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}
