#pragma once
// Start-up and shut-down of the program's windows.
class QApplication;

namespace K27App {

// Brings up the windows in their start-up order and runs the event loop.
int run(QApplication& app);

} // namespace K27App
