#include "ui/Application.h"

#include <algorithm>
#include <cfenv>
#include <cstdio>
#include <cstdlib>

#include "net/NetworkTime.h"
#include "ui/FatalError.h"
#include "ui/TextCodec.h"
#include "ui/Texts.h"

namespace {

void nothingToRelease() {}

}  // namespace

Application& Application::instance() {
    static Application app;
    return app;
}

const WindowDescription* Application::findWindow(int32_t windowId) const {
    for (const auto& w : windows_) {
        if (w.id == windowId) return &w;
    }
    return nullptr;
}

int Application::run(std::vector<WindowDescription> windows, int32_t startWindowId) {
    programFolder_ = system_->enterProgramFolder();
    setWindows(std::move(windows));
    // Round to nearest, every exception masked: no floating-point trap.
    std::fesetenv(FE_DFL_ENV);
    addShutdownRoutine(nothingToRelease);

    loadWindow(startWindowId);

    loopStarted_ = true;
    int exitCode = 0;
    const bool anyAlive = std::any_of(windows_.begin(), windows_.end(),
                                      [this](const WindowDescription& w) { return system_->isAlive(w.id); });
    if (anyAlive) exitCode = system_->runMessageLoop();

    shutdown();
    return exitCode;
}

void Application::loadWindow(int32_t windowId) {
    const WindowDescription* window = findWindow(windowId);
    if (window == nullptr) fatal(texts::kLoadWindowFailed);

    system_->flushMessages();
    ++eventHold_;
    if (!system_->buildWindow(*window)) fatal(texts::kLoadWindowFailed);
    // Whatever building caused is handled by the windows alone.
    system_->flushMessages();
    if (eventHold_ > 0) --eventHold_;

    raiseEvent(windowId, 0, 0);
    if (!system_->isAlive(windowId)) return;
    if (window->visible) system_->showWindow(*window);
}

bool Application::raiseEvent(int32_t windowId, int32_t controlId, int32_t event) {
    if (eventHold_ > 0) return false;
    const WindowDescription* window = findWindow(windowId);
    if (window == nullptr) return false;

    const std::vector<EventBinding>* bindings = &window->bindings;
    if (controlId != 0) {
        const auto c = std::find_if(window->controls.begin(), window->controls.end(),
                                    [controlId](const ControlDescription& d) { return d.id == controlId; });
        if (c == window->controls.end()) return false;
        bindings = &c->bindings;
    }
    const auto b = std::find_if(bindings->begin(), bindings->end(),
                                [event](const EventBinding& e) { return e.event == event; });
    if (b == bindings->end() || b->handler == nullptr) return false;
    b->handler();
    return true;
}

void Application::addShutdownRoutine(void (*routine)()) {
    if (std::find(shutdownRoutines_.begin(), shutdownRoutines_.end(), routine) == shutdownRoutines_.end()) {
        shutdownRoutines_.push_back(routine);
    }
}

void Application::shutdown() {
    ++eventHold_;
    for (auto routine : shutdownRoutines_) routine();
    releaseResources();
}

void Application::releaseResources() {
    ReleaseNetworkLibraries();
    if (system_ != nullptr) system_->releaseWindows();
}

void Application::fatal(std::string_view message) {
    ++eventHold_;
    static bool reporting = false;
    if (reporting) {
        // A failure while reporting (memory gone for the box's text): end at once.
        if (system_ != nullptr) system_->endProcess(-1);
        std::_Exit(-1);
    }
    reporting = true;
    const std::string text = FatalErrorText(message);
    if (system_ != nullptr) {
        system_->showErrorBox(texts::kErrorTitle, text);
    } else {
        std::fprintf(stderr, "%s", gbkToUtf8(text).c_str());
    }
    shutdownRoutines_.clear();
    releaseResources();
    if (system_ != nullptr) system_->endProcess(-1);
    std::_Exit(-1);
}

std::string FatalErrorText(std::string_view message) {
    std::string text = texts::kRuntimeError;
    text += "\r\n\r\n";
    text += texts::kErrorInfo;
    text += message;
    text += "\r\n";
    return text;
}

std::string AllocationFailedMessage(size_t bytes) {
    return std::string(texts::kAllocPrefix) + std::to_string(bytes) + texts::kAllocSuffix;
}

std::string BindingFailedMessage(std::string_view library, std::string_view function) {
    std::string m = texts::kBindPrefix;
    m += library;
    m += texts::kBindMiddle;
    m += function;
    m += texts::kBindSuffix;
    return m;
}

void RaiseFatalError(std::string_view message) { Application::instance().fatal(message); }
