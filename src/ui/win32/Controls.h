// The self-painted label and the timer control of a Win32 window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/win32/BaseWindow.h"

// A label that paints its own background in the button-face colour and its
// caption in black, on one line, left-aligned and vertically centred.
class Label : public BaseWindow<Label> {
public:
    bool Create(HINSTANCE instance, HWND parent, int32_t id, const RECT& place);
    // The label keeps its own copy; shown at the next paint.
    void setCaption(const std::string& gbk);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    std::wstring caption_;
};

// A hidden child window whose system timer raises the control's event 0.
class TimerControl : public BaseWindow<TimerControl> {
public:
    static constexpr UINT_PTR kTimerId = 1000;

    bool Create(HINSTANCE instance, HWND parent, int32_t windowId, int32_t id, UINT intervalMs);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int32_t windowId_ = 0;
    int32_t id_ = 0;
    UINT intervalMs_ = 0;
};
