#pragma once

#include <QObject>

#include <signal.h>

class QSocketNotifier;

namespace dorvale {

/// Turns SIGTERM and SIGINT into the application's own quit, so that what runs when it quits
/// (the bounded wait for a running deletion to record its history) runs for them as well.
/// The signal handler only writes to a pipe; the quit happens on the GUI thread. Signals
/// after the first are taken and ignored, so they cannot cut that wait short. One at a time;
/// the previous handlers come back when it goes.
class QuitOnSignals final : public QObject {
    Q_OBJECT

public:
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

private:
    void takeSignals();

    QSocketNotifier* m_notifier = nullptr;
    struct sigaction m_previousTerminate {};
    struct sigaction m_previousInterrupt {};
    bool m_quitting = false;
};

} // namespace dorvale
