#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace dorvale {

/// The pace of the scan's progress displays: at most 20 repaints a second, which reads as
/// live while leaving the GUI thread free whatever the scanner reports.
inline constexpr std::chrono::milliseconds progressRepaintInterval{50};

/// Runs an update at most once per interval of time: a request after a quiet interval runs
/// it at once, requests that come sooner are folded into one run when the interval is up. A
/// display that follows fast reports so repaints at a steady pace however many arrive, and
/// always ends on the latest state. GUI thread only.
class Throttle : public QObject {
    Q_OBJECT

public:
    Throttle(std::chrono::milliseconds interval, std::function<void()> update,
             QObject* parent = nullptr);

    void request();

private:
    void run();

    std::chrono::milliseconds m_interval;
    std::function<void()> m_update;
    QElapsedTimer m_sinceRun;
    QTimer m_pending;
};

} // namespace dorvale
