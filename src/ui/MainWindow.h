// The start-up window: two lines of text refreshed once a second, and two
// buttons that fetch the network time again or set the clock from it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "time/DateTime.h"
#include "ui/Application.h"

// The network time shown in the second line; advanced by one second per tick.
extern DateTime NetworkTime;

class MainWindow {
public:
    static constexpr int32_t kId = 0x52010001;
    // Control identifiers (never 1 or 2, the dialog manager's IDOK/IDCANCEL).
    static constexpr int32_t kSyncButton = 101;         // 按钮1
    static constexpr int32_t kNetworkTimeButton = 102;  // 按钮2
    static constexpr int32_t kTimer = 103;              // 时钟1
    static constexpr int32_t kSystemTimeLabel = 104;    // 标签1
    static constexpr int32_t kNetworkTimeLabel = 105;   // 标签2

    static WindowDescription description();

    static void onCreated();
    static void onSyncClicked();
    static void onNetworkTimeClicked();
    static void onTick();
};

// The texts joined in order into a new text.
std::string concatTexts(std::initializer_list<std::string_view> parts);
