#pragma once
// Start-up and shut-down of the program's windows.
class QApplication;
class Form1;
class frmCtl;
class frmOption;

namespace K27App {

// Brings up the windows in their start-up order and runs the event loop.
int run(QApplication& app);

// Tells the three windows about each other.
void connectWindows(Form1& board, frmOption& options, frmCtl& panel);
// The board's load: blank digits and model presets (the options window is
// already loaded, hidden, and takes its part of them).
void loadBoard(Form1& board, frmOption& options);

} // namespace K27App
