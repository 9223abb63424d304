#include "app/K27App.h"

#include "app/DemoSettings.h"
#include "app/ExitSignals.h"
#include "app/mdlIniIo.h"
#include "board/Form1.h"
#include "board/mdlK27_000.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"
#include "platform/FirstPaintProbe.h"
#include "platform/Fonts.h"
#include "sound/mdlM_Tape.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QLibraryInfo>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

#include <functional>
#include <optional>

namespace K27App {

namespace {

// Long enough for a window manager's answer to a map or a move to arrive.
constexpr int kSettleMs = 60;

QRect availableArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// Runs everything but user input for a while.
void pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// Whether a window manager may place a newly mapped window on its own. Only
// under X11 does one answer our moves; on the other platforms (offscreen,
// Wayland, a frame buffer) a window stays where the program puts it, and
// waiting for an answer would only hold up the start.
bool windowManagerMayPlace() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// Moves a shown window to where target() says, and again while the window
// manager has put it elsewhere: a manager that is still placing a newly
// mapped window answers a move made in that moment with its own position.
// target() is asked each time, as the frame that it may depend on becomes
// known only once the manager has framed the window.
template <class Target> void placeAndHold(QWidget& window, Target target) {
    if (!windowManagerMayPlace()) {
        window.move(target());
        return;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        pause(kSettleMs);
        const QPoint wanted = target();
        if (window.pos() == wanted && attempt > 0)
            return;
        window.move(wanted);
    }
    pause(kSettleMs);
}

// Calls back after each expose event of the window it filters, once the
// event has been handled (the window counts as exposed only then).
class ExposeWatcher : public QObject {
public:
    explicit ExposeWatcher(std::function<void()> exposed) : exposed_(std::move(exposed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose)
            QTimer::singleShot(0, this, [this] { exposed_(); });
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> exposed_;
};

QPoint panelCorner(const frmCtl& panel) {
    return bottomRight(availableArea(panel), panel.frameGeometry().size());
}

// A window that no screen shows any part of (saved on a larger or another
// monitor) could not be reached; it goes back to where it starts.
void bringIntoSight(QWidget& window, const QPoint& home) {
    const QRect frame = window.frameGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(frame))
            return;
    window.move(home);
}

// The sizes drawn for the desktop (assets/icons/hicolor), all compiled in.
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QString iconFile(int size) {
    return QStringLiteral(":/icons/%1x%1/apps/%2.png").arg(size).arg(QLatin1String(kDesktopFileName));
}

// The application icon, its pictures decoded when first asked for. Under
// X11 that is when a window is made (the window manager is given every
// size); where nobody asks (the offscreen platform, for one) none is
// decoded, and the start-up does not wait for the PNGs.
class CompiledInIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    // Asked whenever a window is made: answered from the resources' list,
    // without decoding anything.
    bool isNull() override {
        for (const int size : kIconSizes)
            if (QFile::exists(iconFile(size)))
                return false;
        return true;
    }
    QString key() const override { return QStringLiteral("K27CompiledIn"); }
    QIconEngine* clone() const override { return new CompiledInIconEngine(*this); }

private:
    const QIcon& icon() {
        if (!decoded_) {
            decoded_.emplace();
            for (const int size : kIconSizes)
                decoded_->addFile(iconFile(size), QSize(size, size));
        }
        return *decoded_;
    }

    std::optional<QIcon> decoded_;
};

} // namespace

QIcon applicationIcon() {
    return QIcon(new CompiledInIconEngine);
}

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("K27"));
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopFileName));
    QApplication::setWindowIcon(applicationIcon());
    // Closing a window never ends the program by itself: only the control
    // panel's exit does.
    QApplication::setQuitOnLastWindowClosed(false);
}

QString seedDemoSettings() {
    const mdlIniIo::SettingsPlace place = mdlIniIo::currentSettingsPlace();
    const QString written = DemoSettings::seedFirstStart(place);
    if (!written.isEmpty())
        qInfo("K27: first start: the demo's settings from %s written to %s",
              qUtf8Printable(DemoSettings::installedDemoFolder(place.executablePath)), qUtf8Printable(written));
    return written;
}

QPoint bottomRight(const QRect& area, const QSize& frame) {
    return {area.right() + 1 - frame.width(), area.bottom() + 1 - frame.height()};
}

bool waitUntilShown(QWidget& window, int timeoutMs) {
    auto shown = [&window] { return window.windowHandle() && window.windowHandle()->isExposed(); };
    if (shown())
        return true;
    QEventLoop loop;
    // The window's expose event ends the wait at once; the poll covers a
    // window whose native window comes only later, and the time-out.
    ExposeWatcher watcher([&] {
        if (shown())
            loop.quit();
    });
    if (QWindow* handle = window.windowHandle())
        handle->installEventFilter(&watcher);
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (shown() || clock.elapsed() >= timeoutMs)
            loop.quit();
    });
    poll.start(10);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return shown();
}

void startUp(Form1& board, frmOption& options, frmCtl& panel) {
    // The panel's load (the board's caption, the speech engine), then the
    // panel itself, placed before it shows so that a window manager maps
    // it in its corner; once framed, the corner takes the frame in.
    panel.Form_Load();
    platform::startupMark("panel Form_Load");
    panel.move(panelCorner(panel));
    panel.show();
    panel.raise();
    board.placeAndShape();
    platform::startupMark("panel shown");
    const QPoint boardHome = board.pos();
    waitUntilShown(panel);
    platform::startupMark("panel exposed");
    placeAndHold(panel, [&panel] { return panelCorner(panel); });
    platform::startupMark("panel held");
    const QPoint panelHome = panel.pos();

    mdlIniIo::LoadIni(board, options, panel);
    platform::startupMark("LoadIni");
    bringIntoSight(panel, panelHome);
    bringIntoSight(board, boardHome);

    // The board shows where the settings put it, already in their colours.
    const QPoint boardPlace = board.pos();
    board.show();
    waitUntilShown(board);
    platform::startupMark("board exposed");
    placeAndHold(board, [boardPlace] { return boardPlace; });
    platform::startupMark("board held");
    panel.raise();
    panel.activateWindow();
    panel.markStarted();
}

void connectWindows(Form1& board, frmOption& options, frmCtl& panel) {
    board.setControlPanel(&panel);
    options.setWindows(&board, &panel);
    panel.setWindows(&board, &options);
}

void loadBoard(Form1& board, frmOption& options) {
    board.Form_Load();
    options.applyModelPresets(mdlK27_000::modelPresets());
}

int run(QApplication& app, platform::FontConfigPreload* fonts) {
    platform::startupMark("QApplication");
    setUpApplication();
    // The first font is made here: the configuration read ahead is used.
    if (fonts)
        fonts->wait();
    platform::startupMark("font configuration");
    platform::installApplicationFont();
    platform::startupMark("fonts");
    // Qt's own dialogs (colour, file) speak Japanese like the rest of the
    // program.
    QTranslator qtJapanese;
    if (qtJapanese.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtJapanese);
    platform::startupMark("translator");

    Form1 board;
    platform::startupMark("Form1 built");
    frmOption options;
    platform::startupMark("frmOption built");
    frmCtl panel;
    platform::startupMark("frmCtl built");
    connectWindows(board, options, panel);
    mdlM_Tape::setSoundSettings(&options);

    // A termination signal has nobody to ask: it ends the program as a Yes
    // to the exit question does, settings saved. One that comes during
    // start-up is carried out when start-up is done, so that what is saved
    // is the user's settings, not the defaults before them.
    bool endRequested = false;
    ExitSignals exitSignals;
    QObject::connect(&exitSignals, &ExitSignals::received, &panel, [&panel, &endRequested](int) {
        if (panel.started())
            panel.endProgram();
        else
            endRequested = true;
    });
    // The end of the desktop session asks the exit question where the
    // session lets the program ask; No cancels the log-off.
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest, &panel,
        [&panel, &endRequested](QSessionManager& manager) {
            if (panel.ending())
                return;
            if (!panel.started()) {
                endRequested = true;
                return;
            }
            if (manager.allowsInteraction()) {
                const bool yes = panel.askToEnd();
                manager.release();
                if (!yes) {
                    manager.cancel();
                    return;
                }
            }
            panel.endProgram();
        },
        Qt::DirectConnection);

    // An installed K27 with no settings yet starts on the demo: the file is
    // written before start-up loads the settings, as if a previous run had
    // saved it.
    seedDemoSettings();
    // The board's load: blank digits and model presets (the options window
    // is already loaded, hidden, and takes its part of them).
    loadBoard(board, options);
    platform::startupMark("board loaded");
    startUp(board, options, panel);
    if (!endRequested)
        app.exec();
    // Also when the loop ended some other way (the session manager's
    // "die"): the same orderly exit, without a question nobody would see.
    panel.endProgram();
    return 0;
}

} // namespace K27App
