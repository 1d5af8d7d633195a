#include "app/ShutdownSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int HandledSignals[] = {SIGTERM, SIGINT, SIGHUP};
int g_pipe[2] = {-1, -1}; // written by the handler, read by the window loop

extern "C" void onShutdownSignal(int signal) {
    const int savedErrno = errno;
    const char number = char(signal);
    // A full pipe already holds a signal that ends the program; nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = savedErrno;
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0) return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownSignals::readPipe);
    struct sigaction action {};
    action.sa_handler = onShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : HandledSignals)
        ::sigaction(signal, &action, nullptr);
}

ShutdownSignals::~ShutdownSignals() {
    for (int signal : HandledSignals)
        std::signal(signal, SIG_DFL);
    for (int& fd : g_pipe)
        if (fd >= 0) ::close(fd), fd = -1;
}

void ShutdownSignals::readPipe() {
    char number = 0;
    while (::read(g_pipe[0], &number, 1) == 1) {
        if (m_received) continue; // the first one decides; the program is already ending
        m_received = number;
        emit arrived(number);
    }
}

void ShutdownSignals::endBySignal() const {
    std::signal(m_received, SIG_DFL);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, m_received);
    ::sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
    std::raise(m_received);
    std::_Exit(128 + m_received);
}
