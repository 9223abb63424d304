#pragma once
// Start-up and shut-down of the program's windows.
#include <QIcon>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class Form1;
class frmCtl;
class frmOption;
class QApplication;
class QWidget;
namespace platform {
class FontConfigPreload;
}

namespace K27App {

// Brings up the windows in their start-up order, runs the event loop and
// ends through the control panel's orderly exit.
int run(QApplication& app, platform::FontConfigPreload* fonts = nullptr);

// The desktop's name for the program's windows: the desktop entry's
// basename, so that a desktop shows the entry's name and icon for them.
inline constexpr char kDesktopFileName[] = "io.github.k27sim.K27";

// The application icon in every size drawn for the desktop, from the
// program's resources (the same pictures `cmake --install` puts under
// share/icons/hicolor).
QIcon applicationIcon();

// The program's identity before any window is made: its name, its desktop
// entry, the icon every window carries; closing a window never ends the
// program by itself.
void setUpApplication();

// For the first start of an installed K27: where no settings file exists yet
// and the demo is installed beside the program, writes the demo's settings
// where saving writes, so the first start opens on the demo routes, sounds,
// panel pictures and ticket plug-in. Says so on standard error. Returns the
// file written, or empty when nothing was written (the program then starts
// on its defaults, as before).
QString seedDemoSettings();

// The start-up after the board's own load (digits and model presets) with
// the options window loaded and hidden: the panel's load and show, the
// board at the top-left and the panel at the bottom-right of the screen's
// available area, the board's rounded outline, the saved settings, and the
// board shown where they put it. Each window is placed before it is first
// shown and placed again once the window system has shown it, so a window
// manager's own placement does not win. Marks the panel started: from then
// on its close request asks the exit question and the exit saves.
void startUp(Form1& board, frmOption& options, frmCtl& panel);

// Where a window of the given frame size sits in the bottom-right corner of
// an area.
QPoint bottomRight(const QRect& area, const QSize& frame);

// Waits (at most timeoutMs) until the window system shows the window,
// letting everything but user input run meanwhile. False on time-out.
bool waitUntilShown(QWidget& window, int timeoutMs = 3000);

// Tells the three windows about each other.
void connectWindows(Form1& board, frmOption& options, frmCtl& panel);
// The board's load: blank digits and model presets (the options window is
// already loaded, hidden, and takes its part of them).
void loadBoard(Form1& board, frmOption& options);

} // namespace K27App
