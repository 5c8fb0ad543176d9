// The frame every window runs in: window descriptions with their event
// bindings, event dispatch, start-up, the message loop and shutdown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using EventHandler = void (*)();

struct EventBinding {
    int32_t event;
    EventHandler handler;  // nullptr: bound to nothing
};

enum class ControlKind { Label, Button, Timer };

struct ControlDescription {
    int32_t id;            // unique within its window, never 0
    ControlKind kind;
    int left, top, width, height;  // in the window's client area
    std::string caption;   // GBK
    bool visible;
    int32_t tabOrder;
    int32_t intervalMs;    // timers only
    std::vector<EventBinding> bindings;
};

enum class WindowState { Normal, Minimized, Maximized };

struct WindowDescription {
    int32_t id;
    std::string caption;   // GBK
    int width, height;     // outer size, frame and title bar included; centred on the screen
    bool visible;
    WindowState initialState;
    std::vector<ControlDescription> controls;  // list order: decides initial focus
    std::vector<EventBinding> bindings;        // the window's own events (0 = created)
};

// The control that gets the focus when the window first receives it: of the
// controls that can take it now, the smallest tab order wins, and of equal
// ones the last in the list. Only buttons take the focus. Null when none can.
template <typename CanTakeFocus>
const ControlDescription* initialFocusControl(const WindowDescription& window, CanTakeFocus canTakeFocus) {
    const ControlDescription* best = nullptr;
    for (const ControlDescription& c : window.controls) {
        if (c.kind != ControlKind::Button || !canTakeFocus(c)) continue;
        if (best == nullptr || c.tabOrder <= best->tabOrder) best = &c;
    }
    return best;
}

// What the frame needs of a window system. The Win32 and the Qt front ends
// each implement it.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The folder holding the executable, without a trailing separator, made
    // the current directory.
    virtual std::string enterProgramFolder() = 0;
    // Handles every message already waiting, without waiting for more and
    // leaving a waiting quit request in place.
    virtual void flushMessages() = 0;
    // Creates the window hidden, then its controls (starting timers), places
    // them and shows the controls marked visible. False when anything failed.
    virtual bool buildWindow(const WindowDescription& window) = 0;
    virtual bool isAlive(int32_t windowId) = 0;
    virtual void showWindow(const WindowDescription& window) = 0;
    // Runs until the quit request; returns its value.
    virtual int runMessageLoop() = 0;
    // Replaces a label's caption (GBK); it is shown at the next paint.
    virtual void setCaption(int32_t windowId, int32_t controlId, const std::string& text) = 0;
    // A modal box with no owner, an error icon and one OK button (GBK texts).
    virtual void showErrorBox(const std::string& title, const std::string& text) = 0;
    // Destroys what is left of the windows and their resources.
    virtual void releaseWindows() = 0;
    [[noreturn]] virtual void endProcess(int exitCode) = 0;
};

class Application {
public:
    static Application& instance();

    // Set once by the program's entry point before run().
    void setWindowSystem(WindowSystem* system) { system_ = system; }
    WindowSystem* windowSystem() const { return system_; }

    // Start-up with these windows, the start window, the message loop and
    // the orderly shutdown. Returns the process exit code.
    int run(std::vector<WindowDescription> windows, int32_t startWindowId);
    // The window descriptions that events are dispatched by (run's step 3).
    void setWindows(std::vector<WindowDescription> windows) { windows_ = std::move(windows); }
    void loadWindow(int32_t windowId);
    // True when a handler was found and has run.
    bool raiseEvent(int32_t windowId, int32_t controlId, int32_t event);
    void addShutdownRoutine(void (*routine)());
    [[noreturn]] void fatal(std::string_view message);

    int32_t eventHold() const { return eventHold_; }
    bool loopStarted() const { return loopStarted_; }
    const std::string& programFolder() const { return programFolder_; }
    const WindowDescription* findWindow(int32_t windowId) const;

private:
    void shutdown();
    void releaseResources();

    WindowSystem* system_ = nullptr;
    int32_t eventHold_ = 0;
    bool loopStarted_ = false;
    std::vector<WindowDescription> windows_;
    std::vector<void (*)()> shutdownRoutines_;
    std::string programFolder_;
};
