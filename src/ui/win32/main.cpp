#include <windows.h>

#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/win32/Win32WindowSystem.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Win32WindowSystem windows(instance);
    Application& app = Application::instance();
    app.setWindowSystem(&windows);
    return app.run({MainWindow::description()}, MainWindow::kId);
}
