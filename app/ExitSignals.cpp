#include "app/ExitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write to a descriptor: the number travels through a
// socket pair to the event loop.
int g_writeEnd = -1;
std::array<struct sigaction, 3> g_previous{};

extern "C" void onSignal(int number) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(number);
    if (g_writeEnd >= 0)
        (void)!::write(g_writeEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

ExitSignals::ExitSignals(QObject* parent) : QObject(parent) {
    std::array<int, 2> fds{-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds.data()) != 0)
        return;
    g_writeEnd = fds[0];
    notifier_ = new QSocketNotifier(fds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ExitSignals::readPending);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &g_previous[i]);
}

ExitSignals::~ExitSignals() {
    if (!notifier_)
        return;
    for (size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    const int readEnd = int(notifier_->socket());
    delete notifier_;
    ::close(readEnd);
    ::close(g_writeEnd);
    g_writeEnd = -1;
}

void ExitSignals::readPending() {
    unsigned char byte = 0;
    while (::read(int(notifier_->socket()), &byte, 1) == 1)
        Q_EMIT received(int(byte));
}
