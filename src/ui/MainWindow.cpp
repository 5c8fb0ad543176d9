#include "ui/MainWindow.h"

#include "net/NetworkTime.h"
#include "time/SystemClock.h"
#include "ui/Texts.h"

DateTime NetworkTime{0.0};

namespace {

void setLabel(int32_t label, const std::string& text) {
    Application::instance().windowSystem()->setCaption(MainWindow::kId, label, text);
}

void refreshNetworkTime() { NetworkTime = DateTime::fromText(QueryNetworkTime(0)); }

}  // namespace

std::string concatTexts(std::initializer_list<std::string_view> parts) {
    size_t size = 0;
    for (auto p : parts) size += p.size();
    std::string out;
    out.reserve(size);
    for (auto p : parts) out += p;
    return out;
}

WindowDescription MainWindow::description() {
    WindowDescription w;
    w.id = kId;
    w.caption = "";
    w.width = 253;
    w.height = 151;
    w.visible = true;
    w.initialState = WindowState::Normal;
    w.bindings = {{0, &MainWindow::onCreated}};
    // List order: 按钮2, 时钟1, 标签2, 标签1, 按钮1.
    w.controls = {
        {kNetworkTimeButton, ControlKind::Button, 166, 80, 80, 40, texts::kNetworkTimeButton, true, 0, 0,
         {{0, &MainWindow::onNetworkTimeClicked}}},
        {kTimer, ControlKind::Timer, 0, 0, 0, 0, "", false, 0, 1000, {{0, &MainWindow::onTick}}},
        {kNetworkTimeLabel, ControlKind::Label, 2, 48, 248, 24, "", true, 0, 0, {}},
        {kSystemTimeLabel, ControlKind::Label, 2, 8, 248, 24, "", true, 0, 0, {}},
        {kSyncButton, ControlKind::Button, 2, 80, 80, 40, texts::kSyncButton, true, 0, 0,
         {{0, &MainWindow::onSyncClicked}}},
    };
    return w;
}

void MainWindow::onCreated() { refreshNetworkTime(); }

void MainWindow::onNetworkTimeClicked() { refreshNetworkTime(); }

void MainWindow::onSyncClicked() {
    // The clock is set inside the query; its text is not needed here.
    QueryNetworkTime(1);
}

void MainWindow::onTick() {
    setLabel(kSystemTimeLabel, concatTexts({texts::kSystemTimePrefix, DateTime::toText(SystemClock::now())}));
    NetworkTime = DateTime::add(NetworkTime, DateTimeUnit::Second, 1);
    setLabel(kNetworkTimeLabel, concatTexts({texts::kNetworkTimePrefix, DateTime::toText(NetworkTime)}));
}
