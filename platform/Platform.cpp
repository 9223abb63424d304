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

// The real implementations are made on first use, after QApplication exists.
VXB4Res& helper() {
    if (auto* p = slot<VXB4Res>())
        return *p;
    static QtVXB4Res real;
    return real;
}
Multimedia& multimedia() {
    if (auto* p = slot<Multimedia>())
        return *p;
    return realMultimedia();
}
SpeechFactory& speechFactory() {
    if (auto* p = slot<SpeechFactory>())
        return *p;
    return realSpeechFactory();
}
Clock& clock() {
    if (auto* p = slot<Clock>())
        return *p;
    static RealClock real;
    return real;
}
Shell& shell() {
    if (auto* p = slot<Shell>())
        return *p;
    static DesktopShell real;
    return real;
}
Clipboard& clipboard() {
    if (auto* p = slot<Clipboard>())
        return *p;
    static SystemClipboard real;
    return real;
}
MessageBox& messageBox() {
    if (auto* p = slot<MessageBox>())
        return *p;
    static QtMessageBox real;
    return real;
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
