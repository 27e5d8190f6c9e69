#pragma once

#include "app/AppServices.hpp"
#include "app/CleanSchedule.hpp"
#include "app/SettingsStore.hpp"
#include "model/DeletionReport.hpp"
#include "platform/Clock.hpp"
#include "platform/VolumeInfo.hpp"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QTimer;

namespace dorvale {

class AppState;

/// The work done without the user asking: the free space of the start-up volume, the
/// low-space warning, the scheduled automatic clean, launch at login and the notifications.
/// The application state makes the one instance as its child; the main window starts it.
///
/// Published members (`lastAutoClean`, `lastAutoCleanBytes`, `autoCleanRunning`) each have
/// their own change signal. The volume is the state's one `volume`, read again at each tick. The
/// settings this record owns are read at each use with their typed fallback, written through the
/// setters below, and announced by `changed`, whoever wrote them through the settings store.
///
/// Lives on the GUI thread. It holds the application state weakly: every operation that
/// needs the state does nothing without it or once it is gone.
class BackgroundServices final : public QObject {
    Q_OBJECT

public:
    /// The warning threshold when "lowSpaceGB" is missing or not an integer.
    static constexpr std::int64_t defaultLowSpaceGB = 10;
    /// An automatic clean tells the user only when it freed more than this many bytes.
    static constexpr std::int64_t cleanNotificationThreshold = 50'000'000;

    /// Told on the GUI thread with the report of an automatic clean, once it is published.
    using AutoCleanCompletion = std::function<void(const DeletionReport&)>;

    /// Reads the last automatic clean from the settings (its date only when stored as a date,
    /// its bytes only when stored as an integer, else 0). `services` must outlive the record;
    /// `state`, when given, is its parent.
    BackgroundServices(const AppServices& services, SettingsStore& settings,
                       AppState* state = nullptr);

    /// Starts the periodic work: has the state read the volume again, checks the free space
    /// and the schedule now, and again at every tick of one timer (every
    /// `Delays::backgroundInterval`). Called each time a main window is shown; a later call
    /// restarts the same timer, so there is never more than one.
    void start();
    /// Warns once by a notification when the state volume's available bytes fall below "lowSpaceGB"
    /// gigabytes, and re-arms only once they rise more than 2 GB above it. A threshold of 0
    /// or less turns the warning off and leaves the latch alone; a huge one saturates.
    void checkLowSpace();
    /// Starts the automatic clean when "cleanSchedule" is on and its period has passed since
    /// the last clean (at once when there was none).
    void checkSchedule();
    /// The automatic clean: finds the junk of the safe smart-clean rules that delete
    /// permanently (never the Trash) on a worker and deletes it silently, without a toast or
    /// a change of the state's failures. Then stores when it ended and what it freed (0
    /// included), reads the volume again, and tells the user when it freed more than
    /// `cleanNotificationThreshold` bytes. Only one runs at a time: while one runs, or once
    /// the state is gone, nothing starts and the answer is false; `done` is told only after a
    /// clean that started.
    bool runAutoClean(AutoCleanCompletion done = {});
    /// Whether an automatic clean is running.
    [[nodiscard]] bool autoCleanRunning() const { return m_autoCleanRunning; }
    /// Makes the program start at login, or stops it. A failure is logged as "Launch at
    /// login: " and its reason, and is otherwise ignored; `changed` is emitted in both cases,
    /// so whoever shows the setting reads `launchAtLogin` again.
    void setLaunchAtLogin(bool enabled);
    /// Whether the program starts at login now; false when that cannot be read.
    [[nodiscard]] bool launchAtLogin() const;
    /// Shows a notification now.
    void postNotification(const QString& title, const QString& body);

    /// End of the last automatic clean, of this run or an earlier one.
    [[nodiscard]] std::optional<Timestamp> lastAutoClean() const { return m_lastAutoClean; }
    /// Sets the member and mirrors it in "lastAutoClean" (removed for nothing).
    void setLastAutoClean(std::optional<Timestamp> time);
    /// Bytes freed by the last automatic clean.
    [[nodiscard]] std::int64_t lastAutoCleanBytes() const { return m_lastAutoCleanBytes; }
    /// Sets the member and mirrors it in "lastAutoCleanBytes".
    void setLastAutoCleanBytes(std::int64_t bytes);

    /// "cleanSchedule": `Off` when missing, not a text or not a known raw value.
    [[nodiscard]] CleanSchedule schedule() const;
    void setSchedule(CleanSchedule schedule);
    /// "lowSpaceGB": the warning threshold in gigabytes of 10^9 bytes, 0 or less for no
    /// warning; `defaultLowSpaceGB` when missing or not an integer.
    [[nodiscard]] std::int64_t lowSpaceGB() const;
    void setLowSpaceGB(std::int64_t gigabytes);
    /// "lowSpaceNotified": the warning was given and is not re-armed yet; false when missing
    /// or not a boolean.
    [[nodiscard]] bool lowSpaceNotified() const;
    void setLowSpaceNotified(bool notified);
    /// "menuBar": show the tray icon; true when missing or not a boolean.
    [[nodiscard]] bool menuBar() const;
    void setMenuBar(bool shown);

signals:
    void lastAutoCleanChanged();
    void lastAutoCleanBytesChanged();
    void autoCleanRunningChanged();
    /// One of the settings this record owns, or launch at login, changed; readers read again.
    void changed();

private:
    void settingChanged(const std::string& key);
    /// The periodic work: the volume, then the free space, then the schedule.
    void tick();
    void setAutoCleanRunning(bool running);
    void cleanFindings(const std::vector<JunkFinding>& findings, const AutoCleanCompletion& done);
    void finishAutoClean(const DeletionReport& report, const AutoCleanCompletion& done);

    const AppServices& m_services;
    SettingsStore& m_settings;
    std::optional<Timestamp> m_lastAutoClean;
    std::int64_t m_lastAutoCleanBytes = 0;
    QPointer<AppState> m_state;
    QTimer* m_timer = nullptr;
    bool m_autoCleanRunning = false;
};

} // namespace dorvale
