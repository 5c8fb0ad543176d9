#include "ui/win32/Win32WindowSystem.h"

#include <algorithm>

#include "ui/win32/Wide.h"
#include "ui/win32/resource.h"

namespace {

constexpr wchar_t kWindowClass[] = L"NetClockWindow";

Win32WindowSystem* current = nullptr;

bool keyDown(int vk) { return GetKeyState(vk) < 0; }

}  // namespace

// ------------------------------------------------------------- TopWindow

TopWindow::TopWindow(HINSTANCE instance, const WindowDescription& description)
    : instance_(instance), description_(description) {}

TopWindow::~TopWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

bool TopWindow::Create() {
    if (!Register(instance_, kWindowClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
    const int width = description_.width;
    const int height = description_.height;
    // Centred on the primary screen, the division truncating toward zero.
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (CreateWindowExW(0, kWindowClass, widen(description_.caption).c_str(), style, left, top, width, height,
                        nullptr, nullptr, instance_, this) == nullptr) {
        return false;
    }
    RECT r;
    GetWindowRect(hwnd_, &r);
    if (r.right - r.left != width || r.bottom - r.top != height) {
        SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    LoadIcons();
    return CreateControls();
}

void TopWindow::LoadIcons() {
    bigIcon_ = static_cast<HICON>(LoadImageA(instance_, kDefaultIconName, IMAGE_ICON, 32, 32, 0));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance_, kDefaultIconName, IMAGE_ICON, 16, 16, 0));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

bool TopWindow::CreateControls() {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    // Created hidden, in list order; shown once all of them are in place.
    for (const ControlDescription& c : description_.controls) {
        const RECT place{c.left, c.top, c.left + c.width, c.top + c.height};
        HWND hwnd = nullptr;
        switch (c.kind) {
            case ControlKind::Label: {
                auto label = std::make_unique<Label>();
                if (!label->Create(instance_, hwnd_, c.id, place)) return false;
                hwnd = label->Window();
                label->setCaption(c.caption);
                labels_[c.id] = std::move(label);
                break;
            }
            case ControlKind::Button:
                hwnd = CreateWindowExW(0, L"BUTTON", widen(c.caption).c_str(),
                                       WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER |
                                           BS_VCENTER | BS_MULTILINE,
                                       c.left, c.top, c.width, c.height, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
                if (hwnd == nullptr) return false;
                buttons_[c.id] = hwnd;
                break;
            case ControlKind::Timer: {
                auto timer = std::make_unique<TimerControl>();
                if (!timer->Create(instance_, hwnd_, description_.id, c.id, static_cast<UINT>(c.intervalMs))) {
                    return false;
                }
                hwnd = timer->Window();
                timers_.push_back(std::move(timer));
                break;
            }
        }
        SendMessageW(hwnd, WM_SETFONT, font, FALSE);
    }
    for (const ControlDescription& c : description_.controls) {
        HWND hwnd = GetDlgItem(hwnd_, c.id);
        ShowWindow(hwnd, c.visible ? SW_SHOWNA : SW_HIDE);
    }
    return true;
}

void TopWindow::setCaption(int32_t controlId, const std::string& gbk) {
    const auto it = labels_.find(controlId);
    if (it != labels_.end()) it->second->setCaption(gbk);
}

HWND TopWindow::InitialFocus() const {
    const ControlDescription* c = initialFocusControl(description_, [this](const ControlDescription& d) {
        HWND hwnd = GetDlgItem(hwnd_, d.id);
        return hwnd != nullptr && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
    });
    return c == nullptr ? nullptr : GetDlgItem(hwnd_, c->id);
}

void TopWindow::OnSetFocus() {
    HWND target = savedFocus_ != nullptr && IsWindow(savedFocus_) && IsChild(hwnd_, savedFocus_) ? savedFocus_
                                                                                               : InitialFocus();
    if (target != nullptr) SetFocus(target);
}

bool TopWindow::preTranslateKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    const bool shift = keyDown(VK_SHIFT);
    const bool ctrl = keyDown(VK_CONTROL);
    const bool alt = keyDown(VK_MENU);
    switch (msg.wParam) {
        case VK_ESCAPE:
            if (shift || ctrl || alt) return false;
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
            return true;
        case VK_TAB: {
            if (ctrl || alt) return false;
            HWND next = GetNextDlgTabItem(hwnd_, GetFocus(), shift ? TRUE : FALSE);
            if (next != nullptr) SetFocus(next);
            return true;
        }
        case VK_RETURN:
        case VK_F1:
            return !(shift || ctrl || alt);  // neither a default button nor help
    }
    return false;
}

LRESULT TopWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
                Application::instance().raiseEvent(description_.id, LOWORD(wParam), 0);
                return 0;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd_, focus)) savedFocus_ = focus;
            }
            break;  // on activation DefWindowProc focuses the window: WM_SETFOCUS
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(hwnd_);
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void TopWindow::OnDestroyed() {
    labels_.clear();
    timers_.clear();
    buttons_.clear();
    if (current != nullptr) current->windowDestroyed();
}

// ----------------------------------------------------- Win32WindowSystem

std::string Win32WindowSystem::enterProgramFolder() {
    current = this;
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    folder.resize(std::min(folder.size(), folder.find_last_of('\\')));
    SetCurrentDirectoryA(folder.c_str());
    return folder;
}

void Win32WindowSystem::flushMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) return;  // left waiting for the loop
        PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool Win32WindowSystem::buildWindow(const WindowDescription& window) {
    auto top = std::make_unique<TopWindow>(instance_, window);
    TopWindow* raw = top.get();
    windows_[window.id] = std::move(top);
    return raw->Create();
}

bool Win32WindowSystem::isAlive(int32_t windowId) {
    const auto it = windows_.find(windowId);
    return it != windows_.end() && it->second->Window() != nullptr && IsWindow(it->second->Window());
}

void Win32WindowSystem::showWindow(const WindowDescription& window) {
    const auto it = windows_.find(window.id);
    if (it == windows_.end()) return;
    int command = SW_SHOW;
    if (window.initialState == WindowState::Minimized) command = SW_SHOWMINIMIZED;
    if (window.initialState == WindowState::Maximized) command = SW_SHOWMAXIMIZED;
    ShowWindow(it->second->Window(), command);
    UpdateWindow(it->second->Window());
}

TopWindow* Win32WindowSystem::windowOf(HWND hwnd) {
    HWND root = GetAncestor(hwnd, GA_ROOT);
    for (auto& [id, window] : windows_) {
        if (window->Window() == root) return window.get();
    }
    return nullptr;
}

int Win32WindowSystem::runMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TopWindow* window = msg.hwnd != nullptr ? windowOf(msg.hwnd) : nullptr;
        if (window != nullptr && window->preTranslateKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void Win32WindowSystem::windowDestroyed() {
    if (!Application::instance().loopStarted()) return;
    for (auto& [id, window] : windows_) {
        if (isAlive(id)) return;
    }
    PostQuitMessage(0);
}

void Win32WindowSystem::setCaption(int32_t windowId, int32_t controlId, const std::string& text) {
    const auto it = windows_.find(windowId);
    if (it != windows_.end()) it->second->setCaption(controlId, text);
}

void Win32WindowSystem::showErrorBox(const std::string& title, const std::string& text) {
    MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(), MB_ICONERROR | MB_OK);
}

void Win32WindowSystem::releaseWindows() {
    for (auto& [id, window] : windows_) {
        if (isAlive(id)) DestroyWindow(window->Window());
    }
    windows_.clear();
}

void Win32WindowSystem::endProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }
