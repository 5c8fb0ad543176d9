// The Linux program's window, offscreen, against the fixture server: the
// real libcurl fetch, the real handlers and the Qt front end. The clock is
// never set: its platform function is replaced by a recorder.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include "net/NetworkTime.h"
#include "time/SystemClock.h"
#include "ui/FatalError.h"
#include "ui/MainWindow.h"
#include "ui/TextCodec.h"
#include "ui/Texts.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

std::vector<SystemTimeFields> clockRequests;
bool recordClockChange(const SystemTimeFields& f) {
    clockRequests.push_back(f);
    return false;
}

// The scripted fixture server (tests/e2e/fixture_server.py) in a process.
class Fixture {
public:
    Fixture() {
        process_.start("python3", {QStringLiteral(FIXTURE_SERVER), "0"});
        process_.waitForStarted();
        port_ = readLine().toUShort();
    }
    ~Fixture() {
        process_.write("stop\n");
        process_.waitForFinished(5000);
    }
    uint16_t port() const { return port_; }
    void setCase(const QString& name) { command("case " + name); }
    void setDelayed(const QString& name, double seconds) {
        command("delay " + name + " " + QString::number(seconds));
    }
    // (received, sent) times of every request served.
    QList<QPair<double, double>> served() {
        QList<QPair<double, double>> out;
        for (const QString& pair : command("served").split(' ', Qt::SkipEmptyParts)) {
            const QStringList t = pair.split(',');
            out.append({t[0].toDouble(), t[1].toDouble()});
        }
        return out;
    }

private:
    QString command(const QString& line) {
        process_.write((line + "\n").toUtf8());
        return readLine();
    }
    QString readLine() {
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(10000)) return {};
        }
        return QString::fromUtf8(process_.readLine()).trimmed();
    }
    QProcess process_;
    uint16_t port_ = 0;
};

QString utf8(const char* gbk) { return QString::fromStdString(gbkToUtf8(gbk)); }

}  // namespace

class NetClockWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void firstTickFillsBothLabels_data();
    void firstTickFillsBothLabels();
    void failedQueryThenNetworkTimeButton();
    void clicksDuringASlowQueryWaitAndRunInOrder();
    void ticksMissedDuringABlockMergeIntoOne();
    void syncAsksForTheComputedTime();
    void focusStartsOnSyncAndTabMoves();
    void keys_data();
    void keys();
    void fatalErrorShowsTheBoxAndEndsWithMinusOne();
    void labelPaintsGbkCaption_data();
    void labelPaintsGbkCaption();
    void windowShape();
    void qtTimerMergesMissedTimeouts();

private:
    void open(const QString& fixtureCase = "normal");
    QString label(int32_t id) const;
    QPushButton* button(int32_t id) const;
    void postClick(int32_t id);

    Fixture* fixture_ = nullptr;
    QtWindowSystem* system_ = nullptr;
    TopWindow* window_ = nullptr;
};

void NetClockWindow::initTestCase() {
    SystemClock::backend().setLocal = recordClockChange;
    fixture_ = new Fixture;
    QVERIFY(fixture_->port() != 0);
    const uint16_t port = fixture_->port();
    headerSource() = [port] { return FetchResponseHeadersFrom("127.0.0.1", port); };
    Application::instance().setWindows({MainWindow::description()});
}

void NetClockWindow::cleanupTestCase() { delete fixture_; }

void NetClockWindow::init() {
    clockRequests.clear();
    system_ = new QtWindowSystem;
    Application::instance().setWindowSystem(system_);
}

void NetClockWindow::cleanup() {
    Application::instance().setWindowSystem(nullptr);
    delete system_;
    system_ = nullptr;
    window_ = nullptr;
}

// What loading the window does: build it, run the created handler, show it.
void NetClockWindow::open(const QString& fixtureCase) {
    fixture_->setCase(fixtureCase);
    const WindowDescription* description = Application::instance().findWindow(MainWindow::kId);
    QVERIFY(system_->buildWindow(*description));
    window_ = system_->window(MainWindow::kId);
    const int served = fixture_->served().size();
    QVERIFY(Application::instance().raiseEvent(MainWindow::kId, 0, 0));
    // The server notes its reply just after sending it.
    QTRY_VERIFY_WITH_TIMEOUT(fixture_->served().size() >= served + 1, 3000);
    QVERIFY(!window_->isVisible());
    system_->showWindow(*description);
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

QString NetClockWindow::label(int32_t id) const {
    return static_cast<Label*>(window_->control(id))->caption();
}

QPushButton* NetClockWindow::button(int32_t id) const { return static_cast<QPushButton*>(window_->control(id)); }

// A click as it arrives from the user: queued, handled by the event loop.
void NetClockWindow::postClick(int32_t id) {
    QPushButton* b = button(id);
    const QPointF at(b->width() / 2.0, b->height() / 2.0);
    const QPointF global = b->mapToGlobal(at);
    QCoreApplication::postEvent(b, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                   Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(b, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                   Qt::NoButton, Qt::NoModifier));
}

void NetClockWindow::firstTickFillsBothLabels_data() {
    QTest::addColumn<QString>("fixtureCase");
    QTest::addColumn<QString>("networkLine");
    QTest::newRow("normal") << "normal" << QString("网络时间：1994年11月6日16时49分38秒");
    QTest::newRow("redirected") << "status_302" << QString("网络时间：1994年11月7日17时0分1秒");
    QTest::newRow("no date header") << "no_date_header" << QString("网络时间：100年1月1日");
    QTest::newRow("header block too long") << "block_1024" << QString("网络时间：100年1月1日");
    QTest::newRow("asctime date") << "asctime_layout" << QString("网络时间：100年1月1日");
}

void NetClockWindow::firstTickFillsBothLabels() {
    QFETCH(QString, fixtureCase);
    QFETCH(QString, networkLine);
    open(fixtureCase);
    QCOMPARE(label(MainWindow::kNetworkTimeLabel), QString());
    QTRY_VERIFY_WITH_TIMEOUT(!label(MainWindow::kNetworkTimeLabel).isEmpty(), 3000);
    QCOMPARE(label(MainWindow::kNetworkTimeLabel), networkLine);
    QVERIFY(label(MainWindow::kSystemTimeLabel).startsWith("当前系统时间："));
}

void NetClockWindow::failedQueryThenNetworkTimeButton() {
    open("no_date_header");
    QTRY_COMPARE_WITH_TIMEOUT(label(MainWindow::kNetworkTimeLabel), QString("网络时间：100年1月1日"), 3000);
    const QString system = label(MainWindow::kSystemTimeLabel);
    QTRY_VERIFY_WITH_TIMEOUT(label(MainWindow::kSystemTimeLabel) != system, 3000);
    QCOMPARE(label(MainWindow::kNetworkTimeLabel), QString("网络时间：100年1月1日"));

    fixture_->setCase("normal");
    QTest::mouseClick(button(MainWindow::kNetworkTimeButton), Qt::LeftButton);
    QCOMPARE(label(MainWindow::kNetworkTimeLabel), QString("网络时间：100年1月1日"));  // not before the tick
    QTRY_COMPARE_WITH_TIMEOUT(label(MainWindow::kNetworkTimeLabel), QString("网络时间：1994年11月6日16时49分38秒"),
                              3000);
    QTRY_COMPARE_WITH_TIMEOUT(label(MainWindow::kNetworkTimeLabel), QString("网络时间：1994年11月6日16时49分39秒"),
                              3000);
}

void NetClockWindow::clicksDuringASlowQueryWaitAndRunInOrder() {
    open();
    const int before = fixture_->served().size();
    fixture_->setDelayed("normal", 1.5);
    for (int i = 0; i < 3; ++i) postClick(MainWindow::kNetworkTimeButton);
    QTRY_COMPARE_WITH_TIMEOUT(fixture_->served().size(), before + 3, 15000);
    const auto served = fixture_->served().mid(before);
    for (int i = 1; i < served.size(); ++i) {
        QVERIFY2(served[i].first >= served[i - 1].second - 0.01, "queries overlapped");
    }
}

void NetClockWindow::ticksMissedDuringABlockMergeIntoOne() {
    open();
    QTRY_VERIFY_WITH_TIMEOUT(!label(MainWindow::kNetworkTimeLabel).isEmpty(), 3000);
    const QString first = label(MainWindow::kNetworkTimeLabel);
    QTRY_VERIFY_WITH_TIMEOUT(label(MainWindow::kNetworkTimeLabel) != first, 3000);
    const DateTime before = NetworkTime;
    fixture_->setDelayed("normal", 3.0);
    QTest::mouseClick(button(MainWindow::kSyncButton), Qt::LeftButton);  // blocks for 3 s
    QTest::qWait(400);
    const double seconds = (NetworkTime.days - before.days) * 86400;
    QVERIFY2(std::abs(seconds - 1) < 0.01, qPrintable(QString::number(seconds)));
}

void NetClockWindow::syncAsksForTheComputedTime() {
    open();
    QTest::mouseClick(button(MainWindow::kSyncButton), Qt::LeftButton);
    QCOMPARE(clockRequests.size(), size_t(1));
    const SystemTimeFields& f = clockRequests[0];
    QCOMPARE(f.wYear, 1994);
    QCOMPARE(f.wMonth, 11);
    QCOMPARE(f.wDay, 6);
    QCOMPARE(f.wHour, 16);
    QCOMPARE(f.wMinute, 49);
    QCOMPARE(f.wSecond, 37);
}

void NetClockWindow::focusStartsOnSyncAndTabMoves() {
    open();
    QTRY_COMPARE(QApplication::focusWidget(), button(MainWindow::kSyncButton));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button(MainWindow::kNetworkTimeButton));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button(MainWindow::kSyncButton));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), button(MainWindow::kNetworkTimeButton));
}

void NetClockWindow::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("queries");
    QTest::newRow("Esc closes") << int(Qt::Key_Escape) << int(Qt::NoModifier) << true << 0;
    QTest::newRow("Shift+Esc does nothing") << int(Qt::Key_Escape) << int(Qt::ShiftModifier) << false << 0;
    QTest::newRow("Enter does nothing") << int(Qt::Key_Return) << int(Qt::NoModifier) << false << 0;
    QTest::newRow("F1 does nothing") << int(Qt::Key_F1) << int(Qt::NoModifier) << false << 0;
    QTest::newRow("Space presses the focused button") << int(Qt::Key_Space) << int(Qt::NoModifier) << false << 1;
}

void NetClockWindow::keys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, closes);
    QFETCH(int, queries);
    open();
    QTRY_COMPARE(QApplication::focusWidget(), button(MainWindow::kSyncButton));
    const int before = fixture_->served().size();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(window_->closed(), closes);
    QCOMPARE(system_->isAlive(MainWindow::kId), !closes);
    if (queries > 0) QTRY_COMPARE_WITH_TIMEOUT(fixture_->served().size() - before, queries, 3000);
    QTest::qWait(100);
    QCOMPARE(fixture_->served().size() - before, queries);
}

namespace {
// Ends the process by throwing, so that the test sees the exit code.
struct Ended {
    int code;
};
class EndingWindowSystem : public QtWindowSystem {
public:
    void endProcess(int code) override { throw Ended{code}; }
};
}  // namespace

void NetClockWindow::fatalErrorShowsTheBoxAndEndsWithMinusOne() {
    Application app;
    EndingWindowSystem system;
    app.setWindowSystem(&system);
    QString title;
    QString text;
    QTimer::singleShot(100, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    int code = 0;
    try {
        app.fatal(AllocationFailedMessage(64));
    } catch (const Ended& e) {
        code = e.code;
    }
    QCOMPARE(code, -1);
    QCOMPARE(title, QString("错误"));
    QCOMPARE(text, QString("运行时出错!\r\n\r\n错误信息：分配 64 字节内存失败!\r\n"));
    QVERIFY(!app.raiseEvent(MainWindow::kId, 0, 0));
}

void NetClockWindow::labelPaintsGbkCaption_data() {
    QTest::addColumn<QByteArray>("gbk");
    QTest::addColumn<QString>("shown");
    QTest::newRow("system line") << QByteArray(texts::kSystemTimePrefix) << QString("当前系统时间：");
    QTest::newRow("network line") << QByteArray(texts::kNetworkTimePrefix) << QString("网络时间：");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("ascii") << QByteArray("12:00") << QString("12:00");
    QTest::newRow("cut-off character") << QByteArray("a\xC4") << QString("a\uFFFD");
}

void NetClockWindow::labelPaintsGbkCaption() {
    QFETCH(QByteArray, gbk);
    QFETCH(QString, shown);
    Label label;
    label.resize(248, 24);
    label.setCaption(gbk.toStdString());
    QCOMPARE(label.caption(), shown);
    // The background is the button face, opaque, also with an empty caption.
    const QImage image = label.grab().toImage();
    QCOMPARE(image.pixelColor(247, 0), label.palette().color(QPalette::Button));
}

void NetClockWindow::windowShape() {
    open();
    QCOMPARE(window_->size(), TopWindow::clientSizeFor(253, 151));
    QCOMPARE(window_->size(), QSize(247, 126));
    QCOMPARE(window_->windowTitle(), QString());
    QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(window_->minimumSize(), window_->maximumSize());  // not resizable
    QCOMPARE(button(MainWindow::kSyncButton)->geometry(), QRect(2, 80, 80, 40));
    QCOMPARE(button(MainWindow::kNetworkTimeButton)->geometry(), QRect(166, 80, 80, 40));
    QCOMPARE(window_->control(MainWindow::kSystemTimeLabel)->geometry(), QRect(2, 8, 248, 24));
    QCOMPARE(window_->control(MainWindow::kNetworkTimeLabel)->geometry(), QRect(2, 48, 248, 24));
    QCOMPARE(button(MainWindow::kSyncButton)->text(), QString("同步时间"));
    QCOMPARE(button(MainWindow::kNetworkTimeButton)->text(), QString("网络时间"));
}

// What the window relies on: a QTimer whose thread was blocked for several
// intervals fires once when the thread is free again, not once per interval.
void NetClockWindow::qtTimerMergesMissedTimeouts() {
    QTimer timer;
    timer.start(100);
    QSignalSpy spy(&timer, &QTimer::timeout);
    QThread::msleep(550);
    QTest::qWait(60);
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(NetClockWindow)
#include "tst_netclock.moc"
