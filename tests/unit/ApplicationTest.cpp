#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "net/NetworkTime.h"
#include "ui/Application.h"
#include "ui/FatalError.h"
#include "ui/MainWindow.h"
#include "ui/TextCodec.h"

namespace {

std::vector<std::string> calls;

struct Ended {
    int code;
};

// Records what the frame asks of the window system, in order.
class RecordingWindowSystem : public WindowSystem {
public:
    explicit RecordingWindowSystem(Application& app) : app_(app) {}
    bool buildSucceeds = true;
    int loopResult = 0;

    std::string enterProgramFolder() override {
        calls.push_back("enterProgramFolder");
        return "C:\\netclock";
    }
    void flushMessages() override {
        calls.push_back("flush hold=" + std::to_string(app_.eventHold()));
    }
    bool buildWindow(const WindowDescription& w) override {
        calls.push_back("build " + std::to_string(w.id) + " hold=" + std::to_string(app_.eventHold()));
        alive_ = buildSucceeds;
        return buildSucceeds;
    }
    bool isAlive(int32_t) override { return alive_; }
    void showWindow(const WindowDescription&) override { calls.push_back("show"); }
    int runMessageLoop() override {
        calls.push_back(std::string("loop started=") + (app_.loopStarted() ? "1" : "0"));
        if (duringLoop) duringLoop();
        return loopResult;
    }
    std::function<void()> duringLoop;
    void setCaption(int32_t, int32_t controlId, const std::string& text) override {
        calls.push_back("caption " + std::to_string(controlId) + " " + gbkToUtf8(text));
    }
    void showErrorBox(const std::string& title, const std::string& text) override {
        calls.push_back("box " + gbkToUtf8(title) + " | " + gbkToUtf8(text));
    }
    void releaseWindows() override { calls.push_back("releaseWindows"); }
    void endProcess(int code) override { throw Ended{code}; }

    bool alive_ = false;

private:
    Application& app_;
};

Application* current = nullptr;

void onCreated() { calls.push_back("created hold=" + std::to_string(current->eventHold())); }
void first() { calls.push_back("first"); }
void second() { calls.push_back("second"); }
void routine() { calls.push_back("routine"); }

constexpr int32_t kWindow = 7;

WindowDescription window() {
    WindowDescription w{kWindow, "", 253, 151, true, WindowState::Normal, {}, {{0, onCreated}}};
    w.controls.push_back({11, ControlKind::Button, 0, 0, 1, 1, "", true, 0, 0, {{0, first}, {0, second}}});
    w.controls.push_back({12, ControlKind::Button, 0, 0, 1, 1, "", true, 0, 0, {{1, first}, {0, nullptr}}});
    return w;
}

class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        current = &app;
        app.setWindowSystem(&system_);
    }
    Application app;
    RecordingWindowSystem system_{app};
};

TEST_F(Frame, StartUpLoadsTheWindowInOrderAndShutsDown) {
    system_.loopResult = 3;
    app.addShutdownRoutine(routine);
    app.addShutdownRoutine(routine);  // added once only
    const int code = app.run({window()}, kWindow);
    EXPECT_EQ(code, 3);  // the quit message's value
    const std::vector<std::string> expected = {
        "enterProgramFolder", "flush hold=0", "build 7 hold=1", "flush hold=1", "created hold=0", "show",
        "loop started=1",     "routine",      "releaseWindows",
    };
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(app.programFolder(), "C:\\netclock");
    // Shut down: no handler runs any more.
    calls.clear();
    EXPECT_FALSE(app.raiseEvent(kWindow, 11, 0));
    EXPECT_TRUE(calls.empty());
}

TEST_F(Frame, EventsRunTheFirstBindingOfTheirNumber) {
    std::vector<bool> ran;
    system_.duringLoop = [&] {
        calls.clear();
        ran.push_back(app.raiseEvent(kWindow, 11, 0));  // two bindings of 0: the first
        ran.push_back(app.raiseEvent(kWindow, 12, 0));  // bound to nothing
        ran.push_back(app.raiseEvent(kWindow, 12, 1));
        ran.push_back(app.raiseEvent(kWindow, 99, 0));  // no such control
        ran.push_back(app.raiseEvent(kWindow, 0, 5));   // no binding of 5
        ran.push_back(app.raiseEvent(8, 0, 0));         // no such window
    };
    app.run({window()}, kWindow);
    EXPECT_EQ(ran, (std::vector<bool>{true, false, true, false, false, false}));
    const std::vector<std::string> handlers(calls.begin(), calls.begin() + 2);
    EXPECT_EQ(handlers, (std::vector<std::string>{"first", "first"}));
}

TEST_F(Frame, AWindowNotMarkedVisibleIsNotShown) {
    WindowDescription w = window();
    w.visible = false;
    app.run({w}, kWindow);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "show"), 0);
}

TEST_F(Frame, FailedBuildIsFatalWithTheLoadMessage) {
    system_.buildSucceeds = false;
    app.addShutdownRoutine(routine);
    try {
        app.run({window()}, kWindow);
        FAIL() << "run returned";
    } catch (const Ended& e) {
        EXPECT_EQ(e.code, -1);
    }
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "box 错误 | 运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    EXPECT_EQ(calls.back(), "releaseWindows");
    // The shutdown routine was dropped, not run, and no handler runs again.
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "routine"), 0);
    EXPECT_FALSE(app.raiseEvent(kWindow, 0, 0));
}

struct FocusCase {
    const char* name;
    std::vector<int32_t> tabOrders;     // of buttons 1, 2, 3 in list order
    std::vector<bool> canTakeFocus;
    int32_t expected;                   // button id, 0 for none
};

class InitialFocus : public ::testing::TestWithParam<FocusCase> {};

TEST_P(InitialFocus, SmallestTabOrderThenLastInList) {
    const auto& c = GetParam();
    WindowDescription w{kWindow, "", 10, 10, true, WindowState::Normal, {}, {}};
    w.controls.push_back({50, ControlKind::Label, 0, 0, 1, 1, "", true, -9, 0, {}});  // never focused
    for (int32_t i = 0; i < 3; ++i) {
        w.controls.push_back({i + 1, ControlKind::Button, 0, 0, 1, 1, "", true, c.tabOrders[i], 0, {}});
    }
    const ControlDescription* got = initialFocusControl(
        w, [&](const ControlDescription& d) { return d.id == 50 || c.canTakeFocus[d.id - 1]; });
    EXPECT_EQ(got == nullptr ? 0 : got->id, c.expected);
}

const FocusCase kFocus[] = {
    {"EqualOrdersLastWins", {0, 0, 0}, {true, true, true}, 3},
    {"SmallestOrderWins", {2, 1, 3}, {true, true, true}, 2},
    {"TieOfSmallestLastWins", {1, 5, 1}, {true, true, true}, 3},
    {"HiddenOrDisabledSkipped", {0, 0, 0}, {true, true, false}, 2},
    {"NoneCanTakeIt", {0, 0, 0}, {false, false, false}, 0},
};

INSTANTIATE_TEST_SUITE_P(Controls, InitialFocus, ::testing::ValuesIn(kFocus),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramTexts, FatalMessagesAreTheProgramsOwn) {
    EXPECT_EQ(gbkToUtf8(FatalErrorText("x")), "运行时出错!\r\n\r\n错误信息：x\r\n");
    EXPECT_EQ(gbkToUtf8(AllocationFailedMessage(1024)), "分配 1024 字节内存失败!");
    EXPECT_EQ(gbkToUtf8(BindingFailedMessage("wininet.dll", "InternetOpenA")),
              "无法找到指定DLL库文件“wininet.dll”中的输出命令“InternetOpenA”");
}

TEST(ProgramTexts, MainWindowCaptionsAndConcatenation) {
    const WindowDescription w = MainWindow::description();
    ASSERT_EQ(w.controls.size(), 5u);
    // List order: 按钮2, 时钟1, 标签2, 标签1, 按钮1.
    EXPECT_EQ(w.controls[0].id, MainWindow::kNetworkTimeButton);
    EXPECT_EQ(w.controls[1].id, MainWindow::kTimer);
    EXPECT_EQ(w.controls[2].id, MainWindow::kNetworkTimeLabel);
    EXPECT_EQ(w.controls[3].id, MainWindow::kSystemTimeLabel);
    EXPECT_EQ(w.controls[4].id, MainWindow::kSyncButton);
    EXPECT_EQ(gbkToUtf8(w.controls[0].caption), "网络时间");
    EXPECT_EQ(gbkToUtf8(w.controls[4].caption), "同步时间");
    EXPECT_EQ(w.controls[1].intervalMs, 1000);
    EXPECT_EQ(concatTexts({"a", "", "bc"}), "abc");
    EXPECT_EQ(concatTexts({}), "");
}

// ------------------------------------------------- the window's handlers

class Handlers : public FakeClock {
protected:
    void SetUp() override {
        FakeClock::SetUp();
        calls.clear();
        savedSource_ = headerSource();
        headerSource() = [this] { return block; };
        Application::instance().setWindowSystem(&system_);
        state().utcSeconds = 1517717100;  // 2018-02-04 04:05:00 UTC, 12:05 in UTC+8
        NetworkTime = DateTime{0.0};
    }
    void TearDown() override {
        Application::instance().setWindowSystem(nullptr);
        headerSource() = savedSource_;
        FakeClock::TearDown();
    }

    std::string block = "HTTP/1.1 200 OK\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n";
    RecordingWindowSystem system_{Application::instance()};

private:
    std::function<std::string()> savedSource_;
};

TEST_F(Handlers, CreatedStoresTheQueryAndTheTickShowsItOneSecondLater) {
    MainWindow::onCreated();
    EXPECT_TRUE(calls.empty()) << "no label changes before the tick";
    EXPECT_EQ(gbkToUtf8(DateTime::toText(NetworkTime)), "1994年11月6日16时49分37秒");
    MainWindow::onTick();
    const std::vector<std::string> expected = {"caption 104 当前系统时间：2018年2月4日12时5分",
                                               "caption 105 网络时间：1994年11月6日16时49分38秒"};
    EXPECT_EQ(calls, expected);
}

TEST_F(Handlers, FailedQueryShowsTheLowestTimeOnEveryTick) {
    block = std::string(1024, ' ');
    MainWindow::onNetworkTimeClicked();
    EXPECT_EQ(NetworkTime.days, DateTime::Lowest);
    MainWindow::onTick();
    MainWindow::onTick();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[1], "caption 105 网络时间：100年1月1日");
    EXPECT_EQ(calls[3], "caption 105 网络时间：100年1月1日");
}

TEST_F(Handlers, SyncSetsTheClockAndLeavesTheNetworkTime) {
    NetworkTime = DateTime::fromText("2018-2-4 12:00:00");
    MainWindow::onSyncClicked();
    ASSERT_EQ(state().sets.size(), 1u);
    EXPECT_EQ(state().sets[0].wYear, 1994);
    EXPECT_EQ(gbkToUtf8(DateTime::toText(NetworkTime)), "2018年2月4日12时");
    MainWindow::onTick();
    EXPECT_EQ(calls.back(), "caption 105 网络时间：2018年2月4日12时0分1秒");
}

}  // namespace
