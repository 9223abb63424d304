// Start-up and the exit: where the windows come up with and without saved
// settings, the exit question on closing the control panel, and what Yes
// and No leave behind.
#include "app/ExitSignals.h"
#include "app/K27App.h"
#include "app/mdlIniIo.h"
#include "board/chimei/ChimeiCtl_A.h"
#include "platform/ColorRef.h"
#include "sound/mdlM_Tape.h"
#include "tests/support/K27Windows.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <csignal>

namespace {

// The offscreen platform's one screen.
const QRect kScreen(0, 0, 800, 800);

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeSettings(const SettingsRecord& record) {
    QFile f(mdlIniIo::settingsFilePath());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(mdlIniIo::encodeSettings(record));
}

SettingsRecord defaultRecord() {
    K27Windows w;
    return mdlIniIo::collectSettings(w.board, w.options, w.panel);
}

// True when the stop-name display shows any dot in its text colour.
bool stopNameShows(ChimeiCtl_A& display) {
    const QImage image = display.grab().toImage();
    const QColor lit = platform::toQColor(display.ForeColor());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == lit)
                return true;
    return false;
}

// The doubles for one test; the speech engine that start-up creates goes
// before them.
struct Doubles : PlatformDoubles {
    ~Doubles() { mdlM_Tape::ReleaseSpeech(); }
};

} // namespace

class tst_K27App : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // The configuration folder is one of the two places the file may
        // be read from: keep the user's own out of the tests.
        QStandardPaths::setTestModeEnabled(true);
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), kScreen);
    }
    void init() { removeFiles(); }
    void cleanup() { removeFiles(); }

    void firstStartWithoutAFile();
    void savedPlacesComeBackUnlessOffEveryScreen();
    void closeAnsweredNoChangesNothing();
    void closeAnsweredYesSavesAndEndsTheRunningLoop();
    void otherWindowsDoNotEndTheProgram();
    void terminationSignalsArriveOnTheEventLoop();

private:
    static void removeFiles() {
        QFile::remove(mdlIniIo::settingsFilePath());
        QFile::remove(mdlIniIo::settingsLoadPath());
    }
};

void tst_K27App::firstStartWithoutAFile() {
    Doubles doubles;
    const SettingsRecord defaults = defaultRecord();
    K27Windows w;
    QVERIFY(!w.panel.started());
    K27App::startUp(w.board, w.options, w.panel);

    QVERIFY(w.panel.started());
    QVERIFY(w.board.isVisible() && w.panel.isVisible());
    QVERIFY(w.options.isHidden());
    QCOMPARE(w.board.pos(), kScreen.topLeft());
    QCOMPARE(w.panel.frameGeometry().bottomRight(), kScreen.bottomRight());
    QVERIFY(!w.board.mask().contains(QPoint(0, 0)));
    QCOMPARE(w.board.windowTitle(), QStringLiteral("コルネ - 型番:app_tst_K27App"));
    QCOMPARE(doubles.speech.log.value(0), QStringLiteral("create"));
    QVERIFY2(doubles.messages.shown.isEmpty(), "A first start has nothing to report.");
    // Every setting is what the windows start with; only the places differ.
    SettingsRecord now = mdlIniIo::collectSettings(w.board, w.options, w.panel);
    now.CtlPanel.CtlLeft = defaults.CtlPanel.CtlLeft;
    now.CtlPanel.CtlTop = defaults.CtlPanel.CtlTop;
    now.BoardPos = defaults.BoardPos;
    QVERIFY(now == defaults);
    QVERIFY2(!QFile::exists(mdlIniIo::settingsFilePath()), "Starting writes nothing.");
}

// The saved places come back. A place that no screen shows any of (saved
// on a larger or another screen) would leave the window out of reach, and
// the panel is the only way to end K27: such a window starts in its corner.
void tst_K27App::savedPlacesComeBackUnlessOffEveryScreen() {
    Doubles doubles;
    SettingsRecord saved = defaultRecord();
    saved.CtlPanel.ScrollSpeed = 800;
    saved.BoardPos = {15 * -300, 15 * 320}; // partly in sight
    saved.CtlPanel.CtlLeft = 15 * 100;
    saved.CtlPanel.CtlTop = 15 * 50;
    writeSettings(saved);
    {
        K27Windows w;
        K27App::startUp(w.board, w.options, w.panel);
        QVERIFY(doubles.messages.shown.isEmpty());
        QCOMPARE(w.panel.pos(), QPoint(100, 50));
        QCOMPARE(w.board.pos(), QPoint(-300, 320));
        QVERIFY(w.board.isVisible());
        QCOMPARE(w.panel.HScroll1[0]->value(), 800);
    }
    saved.CtlPanel.CtlLeft = 15 * 2000;
    saved.BoardPos = {15 * 30, 15 * -400};
    writeSettings(saved);
    K27Windows w;
    K27App::startUp(w.board, w.options, w.panel);
    QCOMPARE(w.panel.frameGeometry().bottomRight(), kScreen.bottomRight());
    QCOMPARE(w.board.pos(), kScreen.topLeft());
}

void tst_K27App::closeAnsweredNoChangesNothing() {
    Doubles doubles;
    K27Windows w;
    K27App::startUp(w.board, w.options, w.panel);
    w.board.ChimeiCtl->SetChimei(QStringLiteral("市役所前"));
    w.panel.HScroll1[0]->setValue(900);
    doubles.multimedia.commands.clear();
    doubles.speech.log.clear();

    // The panel's own close button and the window system's request alike.
    doubles.messages.answers = {platform::MsgResult::No, platform::MsgResult::No};
    QVERIFY(!w.panel.close());
    w.panel.windowHandle()->close();

    QCOMPARE(doubles.messages.shown.size(), 2);
    for (const auto& box : doubles.messages.shown) {
        QCOMPARE(box.prompt, QStringLiteral("コルネを終了しますか？"));
        QCOMPARE(box.title, QStringLiteral("コルネの終了確認"));
        QCOMPARE(box.buttons, platform::MsgButtons::YesNo);
        QCOMPARE(box.icon, platform::MsgIcon::Question);
    }
    QVERIFY(w.panel.isVisible() && w.board.isVisible());
    QVERIFY(!w.panel.ending());
    QVERIFY2(!QFile::exists(mdlIniIo::settingsFilePath()), "No must not write the settings.");
    QVERIFY(doubles.multimedia.commands.isEmpty());
    QVERIFY(doubles.speech.log.isEmpty());
    QVERIFY(stopNameShows(*w.board.ChimeiCtl));
    QCOMPARE(w.panel.HScroll1[0]->value(), 900);
}

// Yes runs inside the application's loop as in the program: the settings
// are written whole, sounds and speech released, the stop name cleared,
// and the loop ends with nothing else run after it.
void tst_K27App::closeAnsweredYesSavesAndEndsTheRunningLoop() {
    Doubles doubles;
    K27Windows w;
    K27App::startUp(w.board, w.options, w.panel);
    w.board.ChimeiCtl->SetChimei(QStringLiteral("市役所前"));
    w.panel.HScroll1[0]->setValue(900);
    w.board.move(30, 40);
    doubles.multimedia.commands.clear();
    doubles.speech.log.clear();
    const SettingsRecord expected = mdlIniIo::collectSettings(w.board, w.options, w.panel);

    bool closed = false;
    bool ranAfterYes = false;
    // The timers below end with this test: the one queued behind the close
    // must not fire later, in another test's loop, into this test's gone
    // variables, nor the time limit end another test's loop.
    QObject thisTest;
    QTimer::singleShot(0, &w.panel, [&] {
        closed = w.panel.close();
        // Queued behind the close: must never run.
        QTimer::singleShot(0, &thisTest, [&] { ranAfterYes = true; });
    });
    QTimer::singleShot(10000, &thisTest, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);

    QVERIFY(closed);
    QVERIFY(!ranAfterYes);
    QVERIFY(w.panel.ending());
    QCOMPARE(doubles.messages.shown.size(), 1);
    const mdlIniIo::DecodedSettings file = mdlIniIo::decodeSettings(fileBytes(mdlIniIo::settingsFilePath()));
    QVERIFY(file.complete);
    QVERIFY(file.record == expected);
    for (const char* alias : {"S1", "S2", "S3", "S4"})
        QVERIFY2(std::any_of(doubles.multimedia.commands.cbegin(), doubles.multimedia.commands.cend(),
                             [alias](const QString& c) {
                                 return c.startsWith(QStringLiteral("close ")) && c.contains(QLatin1String(alias));
                             }),
                 alias);
    QCOMPARE(doubles.speech.log, QStringList{QStringLiteral("release")});
    QVERIFY(!stopNameShows(*w.board.ChimeiCtl));

    // Ended once: a further request neither asks nor writes again.
    QFile::remove(mdlIniIo::settingsFilePath());
    QVERIFY(w.panel.close());
    QVERIFY(!w.panel.endProgram());
    QCOMPARE(doubles.messages.shown.size(), 1);
    QVERIFY(!QFile::exists(mdlIniIo::settingsFilePath()));
}

void tst_K27App::otherWindowsDoNotEndTheProgram() {
    Doubles doubles;
    K27Windows w;
    // Before start-up is done the panel refuses to close without asking:
    // an exit then would save the defaults over the user's settings.
    w.panel.show();
    QVERIFY(!w.panel.close());
    QVERIFY(doubles.messages.shown.isEmpty());

    K27App::startUp(w.board, w.options, w.panel);
    QVERIFY(!w.board.close());
    w.board.windowHandle()->close();
    QVERIFY(w.board.isVisible());
    w.options.show();
    QVERIFY(w.options.close());
    QVERIFY(doubles.messages.shown.isEmpty());
    QVERIFY(!w.panel.ending());
    QVERIFY(!QFile::exists(mdlIniIo::settingsFilePath()));
}

void tst_K27App::terminationSignalsArriveOnTheEventLoop() {
    ExitSignals exitSignals;
    QSignalSpy received(&exitSignals, &ExitSignals::received);
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        QVERIFY(::raise(number) == 0); // handled, so the test goes on
        QVERIFY(received.wait(2000));
        QCOMPARE(received.takeFirst().value(0).toInt(), number);
    }
}

QTEST_MAIN(tst_K27App)
#include "tst_K27App.moc"
