#include "platform/Platform.h"

#include "platform/RealPlatform.h"
#include "platform/WindowShape.h"

namespace platform {

namespace {
template <class Interface> Interface*& slot() {
    static Interface* current = nullptr;
    return current;
}

template <class Interface> Interface* swap(Interface* impl) {
    Interface* previous = slot<Interface>();
    slot<Interface>() = impl;
    return previous;
}
} // namespace

// Whatever is installed, else the real implementation (made on first use,
// after QApplication exists).
VXB4Res& helper() {
    auto* p = slot<VXB4Res>();
    return p ? *p : realHelper();
}
Multimedia& multimedia() {
    auto* p = slot<Multimedia>();
    return p ? *p : realMultimedia();
}
SpeechFactory& speechFactory() {
    auto* p = slot<SpeechFactory>();
    return p ? *p : realSpeechFactory();
}
Clock& clock() {
    auto* p = slot<Clock>();
    return p ? *p : realClock();
}
Shell& shell() {
    auto* p = slot<Shell>();
    return p ? *p : realShell();
}
Clipboard& clipboard() {
    auto* p = slot<Clipboard>();
    return p ? *p : realClipboard();
}
MessageBox& messageBox() {
    auto* p = slot<MessageBox>();
    return p ? *p : realMessageBox();
}
WindowMover& windowMover() {
    if (auto* p = slot<WindowMover>())
        return *p;
    static SystemWindowMover real;
    return real;
}

VXB4Res* install(VXB4Res* impl) {
    return swap(impl);
}
Multimedia* install(Multimedia* impl) {
    return swap(impl);
}
SpeechFactory* install(SpeechFactory* impl) {
    return swap(impl);
}
Clock* install(Clock* impl) {
    return swap(impl);
}
Shell* install(Shell* impl) {
    return swap(impl);
}
Clipboard* install(Clipboard* impl) {
    return swap(impl);
}
MessageBox* install(MessageBox* impl) {
    return swap(impl);
}
WindowMover* install(WindowMover* impl) {
    return swap(impl);
}

} // namespace platform
