#include <QApplication>

#include "ui/MainWindow.h"
#include "ui/qt/QtWindowSystem.h"

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    QtWindowSystem windows;
    Application::instance().setWindowSystem(&windows);
    return Application::instance().run({MainWindow::description()}, MainWindow::kId);
}
