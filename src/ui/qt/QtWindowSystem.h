// The window system on Qt 6 Widgets: the same window as on Windows, with a
// self-painted label, two push buttons and a one-second timer.
#pragma once

#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>

#include "ui/Application.h"

// Fills its area with the button-face colour and draws its caption in black,
// on one line, left-aligned, vertically centred, cut at its edges.
class Label : public QWidget {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);
    void setCaption(const std::string& gbk);
    QString caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

class TopWindow : public QWidget {
    Q_OBJECT
public:
    // The client size of a 253 x 151 Windows window with a fixed dialog
    // frame (3 px) and a caption bar (19 px) at 96 DPI.
    static QSize clientSizeFor(int outerWidth, int outerHeight);

    explicit TopWindow(const WindowDescription& description);
    void setCaption(int32_t controlId, const std::string& gbk);
    QWidget* control(int32_t id) const;
    bool closed() const { return closed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool handleKey(QKeyEvent* key);

    const WindowDescription& description_;
    std::map<int32_t, QWidget*> controls_;
    std::map<int32_t, Label*> labels_;
    bool closed_ = false;
};

class QtWindowSystem : public WindowSystem {
public:
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

    TopWindow* window(int32_t windowId) const;
    // Called by a window once it has been closed.
    void windowClosed();

private:
    std::map<int32_t, std::unique_ptr<TopWindow>> windows_;
};
