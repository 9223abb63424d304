#pragma once
// Where the program reaches the operating system and devices. Each interface
// has a real implementation, created the first time it is asked for, and tests
// put a double in its place with ScopedInstall for the length of a test.
//
// Only the accessors live here; include the interface header of what you
// call (platform/VXB4Res.h, platform/Clock.h, platform/WindowShape.h, ...).

namespace platform {

class VXB4Res;
class Multimedia;
class SpeechFactory;
class Clock;
class Shell;
class Clipboard;
class MessageBox;
class WindowMover;

VXB4Res& helper();
Multimedia& multimedia();
SpeechFactory& speechFactory();
Clock& clock();
Shell& shell();
Clipboard& clipboard();
MessageBox& messageBox();
WindowMover& windowMover();

// Installs impl in place of the current implementation (nullptr goes back to
// the real one) and returns the one it replaced.
VXB4Res* install(VXB4Res* impl);
Multimedia* install(Multimedia* impl);
SpeechFactory* install(SpeechFactory* impl);
Clock* install(Clock* impl);
Shell* install(Shell* impl);
Clipboard* install(Clipboard* impl);
MessageBox* install(MessageBox* impl);
WindowMover* install(WindowMover* impl);

template <class Interface> class ScopedInstall {
public:
    explicit ScopedInstall(Interface& impl) : previous_(install(&impl)) {}
    ~ScopedInstall() { install(previous_); }
    ScopedInstall(const ScopedInstall&) = delete;
    ScopedInstall& operator=(const ScopedInstall&) = delete;

private:
    Interface* previous_;
};

} // namespace platform
