#include "ui/qt/QtWindowSystem.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>

#include <cstdlib>

#include "ui/TextCodec.h"

namespace {

QtWindowSystem* current = nullptr;

// Texts are GBK inside the program; Qt wants UTF-16.
QString fromGbk(const std::string& gbk) { return QString::fromStdString(gbkToUtf8(gbk)); }

constexpr int kFrame = 3;     // fixed dialog frame, each side
constexpr int kCaption = 19;  // caption bar

}  // namespace

// ------------------------------------------------------------------ Label

Label::Label(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Label::setCaption(const std::string& gbk) {
    caption_ = fromGbk(gbk);
    setWindowTitle(caption_);
    update();
}

void Label::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect() & rect();
    painter.setClipRect(area);
    painter.fillRect(area, palette().color(QPalette::Button));
    if (caption_.isEmpty()) return;
    painter.setFont(QApplication::font());
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
}

// -------------------------------------------------------------- TopWindow

QSize TopWindow::clientSizeFor(int outerWidth, int outerHeight) {
    return {outerWidth - 2 * kFrame, outerHeight - 2 * kFrame - kCaption};
}

TopWindow::TopWindow(const WindowDescription& description)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      description_(description) {
    setWindowTitle(fromGbk(description.caption));
    QIcon icon;
    for (const char* size : {"16", "32", "48"}) icon.addFile(QString(":/icons/%1.png").arg(size));
    setWindowIcon(icon);
    setFixedSize(clientSizeFor(description.width, description.height));
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);
    setAutoFillBackground(true);

    QWidget* firstButton = nullptr;
    QWidget* lastButton = nullptr;
    for (const ControlDescription& c : description.controls) {
        QWidget* widget = nullptr;
        switch (c.kind) {
            case ControlKind::Label: {
                auto* label = new Label(this);
                label->setCaption(c.caption);
                labels_[c.id] = label;
                widget = label;
                break;
            }
            case ControlKind::Button: {
                auto* button = new QPushButton(fromGbk(c.caption), this);
                button->setAutoDefault(false);
                button->setDefault(false);
                button->setFocusPolicy(Qt::StrongFocus);
                const int32_t windowId = description.id;
                const int32_t id = c.id;
                connect(button, &QPushButton::clicked, this,
                        [windowId, id] { Application::instance().raiseEvent(windowId, id, 0); });
                if (firstButton == nullptr) firstButton = button;
                if (lastButton != nullptr) setTabOrder(lastButton, button);
                lastButton = button;
                widget = button;
                break;
            }
            case ControlKind::Timer: {
                // No visible part: a child object of the window, counting from now.
                auto* timer = new QTimer(this);
                timer->setObjectName(QString::number(c.id));
                const int32_t windowId = description.id;
                const int32_t id = c.id;
                connect(timer, &QTimer::timeout, this,
                        [windowId, id] { Application::instance().raiseEvent(windowId, id, 0); });
                if (c.intervalMs > 0) timer->start(c.intervalMs);
                break;
            }
        }
        if (widget == nullptr) continue;
        widget->setObjectName(QString::number(c.id));
        widget->setGeometry(c.left, c.top, c.width, c.height);
        widget->installEventFilter(this);
        widget->setVisible(c.visible);
        controls_[c.id] = widget;
    }
    installEventFilter(this);
}

QWidget* TopWindow::control(int32_t id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void TopWindow::setCaption(int32_t controlId, const std::string& gbk) {
    const auto it = labels_.find(controlId);
    if (it != labels_.end()) it->second->setCaption(gbk);
}

void TopWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (focusWidget() != nullptr) return;  // it comes back to the control that had it
    const ControlDescription* c = initialFocusControl(description_, [this](const ControlDescription& d) {
        QWidget* w = control(d.id);
        return w != nullptr && w->isVisible() && w->isEnabled();
    });
    if (c != nullptr) control(c->id)->setFocus(Qt::OtherFocusReason);
}

bool TopWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window sees each key before the control that has the focus.
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event))) return true;
    return QWidget::eventFilter(watched, event);
}

bool TopWindow::handleKey(QKeyEvent* key) {
    const Qt::KeyboardModifiers modifiers =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (key->key()) {
        case Qt::Key_Escape:
            if (modifiers != Qt::NoModifier) return false;
            close();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F1:
            return modifiers == Qt::NoModifier;  // neither a default button nor help
        default:
            return false;  // Tab and Shift+Tab move the focus by Qt's own chain
    }
}

void TopWindow::closeEvent(QCloseEvent* event) {
    closed_ = true;
    event->accept();
    hide();
    if (current != nullptr) current->windowClosed();
}

// --------------------------------------------------------- QtWindowSystem

std::string QtWindowSystem::enterProgramFolder() {
    current = this;
    const QString folder = QCoreApplication::applicationDirPath();
    QDir::setCurrent(folder);
    return folder.toStdString();
}

void QtWindowSystem::flushMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool QtWindowSystem::buildWindow(const WindowDescription& window) {
    current = this;
    QApplication::setQuitOnLastWindowClosed(false);
    windows_[window.id] = std::make_unique<TopWindow>(window);
    return true;
}

TopWindow* QtWindowSystem::window(int32_t windowId) const {
    const auto it = windows_.find(windowId);
    return it == windows_.end() ? nullptr : it->second.get();
}

bool QtWindowSystem::isAlive(int32_t windowId) {
    const TopWindow* w = window(windowId);
    return w != nullptr && !w->closed();
}

void QtWindowSystem::showWindow(const WindowDescription& description) {
    TopWindow* w = window(description.id);
    if (w == nullptr) return;
    // Centred on the primary screen by the outer size, as on Windows.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    w->move(screen.x() + (screen.width() - description.width) / 2,
            screen.y() + (screen.height() - description.height) / 2);
    switch (description.initialState) {
        case WindowState::Minimized: w->showMinimized(); break;
        case WindowState::Maximized: w->showMaximized(); break;
        default: w->show(); break;
    }
    w->activateWindow();
}

int QtWindowSystem::runMessageLoop() { return QCoreApplication::exec(); }

void QtWindowSystem::windowClosed() {
    if (!Application::instance().loopStarted()) return;
    for (const auto& [id, w] : windows_) {
        if (!w->closed()) return;
    }
    QCoreApplication::exit(0);
}

void QtWindowSystem::setCaption(int32_t windowId, int32_t controlId, const std::string& text) {
    if (TopWindow* w = window(windowId)) w->setCaption(controlId, text);
}

void QtWindowSystem::showErrorBox(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, fromGbk(title), fromGbk(text), QMessageBox::Ok);
    box.exec();
}

void QtWindowSystem::releaseWindows() { windows_.clear(); }

void QtWindowSystem::endProcess(int exitCode) { std::_Exit(exitCode); }
