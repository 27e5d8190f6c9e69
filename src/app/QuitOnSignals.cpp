#include "app/QuitOnSignals.hpp"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace dorvale {

namespace {

// The pipe between the handler and the GUI thread: read end, write end.
int signalPipe[2] = {-1, -1};

extern "C" void noteSignal(int signal) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

void handle(int signal, struct sigaction& previous) {
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, &previous);
}

} // namespace

QuitOnSignals::QuitOnSignals(QObject* parent)
    : QObject(parent) {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("No pipe for SIGTERM and SIGINT, which therefore end the program at once");
        return;
    }
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignals::takeSignals);
    handle(SIGTERM, m_previousTerminate);
    handle(SIGINT, m_previousInterrupt);
}

QuitOnSignals::~QuitOnSignals() {
    if (m_notifier == nullptr) {
        return;
    }
    sigaction(SIGTERM, &m_previousTerminate, nullptr);
    sigaction(SIGINT, &m_previousInterrupt, nullptr);
    delete m_notifier;
    for (int& end : signalPipe) {
        close(end);
        end = -1;
    }
}

void QuitOnSignals::takeSignals() {
    char bytes[16];
    while (read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (!m_quitting) {
        m_quitting = true;
        QCoreApplication::quit();
    }
}

} // namespace dorvale
