// The window system on Win32: top-level windows built from descriptions,
// their controls, the message loop and the error box.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "ui/Application.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/Controls.h"

class TopWindow : public BaseWindow<TopWindow> {
public:
    TopWindow(HINSTANCE instance, const WindowDescription& description);
    ~TopWindow() override;

    bool Create();
    void setCaption(int32_t controlId, const std::string& gbk);
    // Esc, Tab, Enter and F1 as the window sees them before its controls;
    // true when the key was used up.
    bool preTranslateKey(const MSG& msg);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;

private:
    bool CreateControls();
    void OnSetFocus();
    HWND InitialFocus() const;
    void LoadIcons();

    HINSTANCE instance_;
    const WindowDescription& description_;
    std::map<int32_t, std::unique_ptr<Label>> labels_;
    std::vector<std::unique_ptr<TimerControl>> timers_;
    std::map<int32_t, HWND> buttons_;
    HWND savedFocus_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
};

class Win32WindowSystem : public WindowSystem {
public:
    explicit Win32WindowSystem(HINSTANCE instance) : instance_(instance) {}

    std::string enterProgramFolder() override;
    void flushMessages() override;
    bool buildWindow(const WindowDescription& window) override;
    bool isAlive(int32_t windowId) override;
    void showWindow(const WindowDescription& window) override;
    int runMessageLoop() override;
    void setCaption(int32_t windowId, int32_t controlId, const std::string& text) override;
    void showErrorBox(const std::string& title, const std::string& text) override;
    void releaseWindows() override;
    [[noreturn]] void endProcess(int exitCode) override;

    // Called when a top-level window has received its last message.
    void windowDestroyed();

private:
    TopWindow* windowOf(HWND hwnd);

    HINSTANCE instance_;
    std::map<int32_t, std::unique_ptr<TopWindow>> windows_;
};
