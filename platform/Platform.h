#pragma once
// Where the program reaches the operating system and devices. Each interface
// has a real implementation, created the first time it is asked for, and tests
// put a double in its place with ScopedInstall for the length of a test.
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Multimedia.h"
#include "platform/Shell.h"
#include "platform/Speech.h"
#include "platform/VXB4Res.h"

namespace platform {

VXB4Res& helper();
Multimedia& multimedia();
SpeechFactory& speechFactory();
Clock& clock();
Shell& shell();
Clipboard& clipboard();
MessageBox& messageBox();

// Installs impl in place of the current implementation (nullptr goes back to
// the real one) and returns the one it replaced.
VXB4Res* install(VXB4Res* impl);
Multimedia* install(Multimedia* impl);
SpeechFactory* install(SpeechFactory* impl);
Clock* install(Clock* impl);
Shell* install(Shell* impl);
Clipboard* install(Clipboard* impl);
MessageBox* install(MessageBox* impl);

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
