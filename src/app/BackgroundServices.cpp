#include "app/BackgroundServices.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/JunkSearch.hpp"
#include "app/RunInBackground.hpp"
#include "app/SettingsKeys.hpp"
#include "platform/SaturatingSum.hpp"

#include <QLoggingCategory>
#include <QTimer>

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <utility>

namespace dorvale {

namespace {

Q_LOGGING_CATEGORY(loginItemLog, "dorvale.login")

constexpr std::array ownedKeys = {
    SettingsKeys::cleanSchedule, SettingsKeys::lowSpaceGB,    SettingsKeys::lowSpaceNotified,
    SettingsKeys::menuBar,       SettingsKeys::lastAutoClean, SettingsKeys::lastAutoCleanBytes,
};

constexpr std::int64_t gigabyte = 1'000'000'000;
// Free space must rise this far above the threshold before the warning is given again.
constexpr std::int64_t rearmMargin = 2 * gigabyte;

// The threshold of `gigabytes` (at least 1) in bytes, held at the largest value for a
// hand-written huge setting.
std::int64_t thresholdBytes(std::int64_t gigabytes) {
    return gigabytes > std::numeric_limits<std::int64_t>::max() / gigabyte
               ? std::numeric_limits<std::int64_t>::max()
               : gigabytes * gigabyte;
}

// What the automatic clean may delete without asking: the rules that are safe, belong to the
// smart clean and delete permanently, in catalogue order. Never the Trash, which the user
// empties on purpose.
std::vector<JunkRule> autoCleanRules() {
    std::vector<JunkRule> rules;
    for (const JunkRule& rule : JunkRule::all()) {
        if (rule.risk == Risk::Safe && rule.inSmartClean && rule.removal == Removal::Permanent &&
            rule.id != "trash") {
            rules.push_back(rule);
        }
    }
    return rules;
}

} // namespace

BackgroundServices::BackgroundServices(const AppServices& services, SettingsStore& settings,
                                       AppState* state)
    : QObject(state)
    , m_services(services)
    , m_settings(settings)
    , m_lastAutoClean(settings.dateValue(SettingsKeys::lastAutoClean))
    , m_lastAutoCleanBytes(settings.integerValue(SettingsKeys::lastAutoCleanBytes).value_or(0))
    , m_state(state) {
    connect(&m_settings, &SettingsStore::changed, this, &BackgroundServices::settingChanged);
}

void BackgroundServices::setLastAutoClean(std::optional<Timestamp> time) {
    m_lastAutoClean = time;
    if (time) {
        m_settings.setDate(SettingsKeys::lastAutoClean, *time);
    } else {
        m_settings.remove(SettingsKeys::lastAutoClean);
    }
    emit lastAutoCleanChanged();
}

void BackgroundServices::setLastAutoCleanBytes(std::int64_t bytes) {
    m_lastAutoCleanBytes = bytes;
    m_settings.setInteger(SettingsKeys::lastAutoCleanBytes, bytes);
    emit lastAutoCleanBytesChanged();
}

CleanSchedule BackgroundServices::schedule() const {
    const auto raw = m_settings.textValue(SettingsKeys::cleanSchedule);
    return cleanScheduleFromRaw(raw.value_or(std::string())).value_or(CleanSchedule::Off);
}

void BackgroundServices::setSchedule(CleanSchedule schedule) {
    m_settings.setText(SettingsKeys::cleanSchedule, std::string(rawValue(schedule)));
}

std::int64_t BackgroundServices::lowSpaceGB() const {
    return m_settings.integerValue(SettingsKeys::lowSpaceGB).value_or(defaultLowSpaceGB);
}

void BackgroundServices::setLowSpaceGB(std::int64_t gigabytes) {
    m_settings.setInteger(SettingsKeys::lowSpaceGB, gigabytes);
}

bool BackgroundServices::lowSpaceNotified() const {
    return m_settings.boolValue(SettingsKeys::lowSpaceNotified).value_or(false);
}

void BackgroundServices::setLowSpaceNotified(bool notified) {
    m_settings.setBool(SettingsKeys::lowSpaceNotified, notified);
}

bool BackgroundServices::menuBar() const {
    return m_settings.boolValue(SettingsKeys::menuBar).value_or(true);
}

void BackgroundServices::setMenuBar(bool shown) {
    m_settings.setBool(SettingsKeys::menuBar, shown);
}

void BackgroundServices::start() {
    tick();
    if (m_timer == nullptr) {
        m_timer = new QTimer(this);
        connect(m_timer, &QTimer::timeout, this, &BackgroundServices::tick);
    }
    m_timer->start(m_services.delays.backgroundInterval);
}

void BackgroundServices::tick() {
    if (!m_state.isNull()) {
        m_state->refreshVolume();
    }
    checkLowSpace();
    checkSchedule();
}

void BackgroundServices::checkLowSpace() {
    if (m_state.isNull() || !m_state->volume()) {
        return;
    }
    const std::int64_t available = m_state->volume()->available;
    const std::int64_t gigabytes = lowSpaceGB();
    if (gigabytes < 1) {
        return;
    }
    const std::int64_t threshold = thresholdBytes(gigabytes);
    if (available >= threshold) {
        // The latch is written only when it changes: a setting is rewritten to disk on
        // every set, and this runs at every tick.
        if (available > saturatingSum(threshold, rearmMargin) && lowSpaceNotified()) {
            setLowSpaceNotified(false);
        }
        return;
    }
    if (lowSpaceNotified()) {
        return;
    }
    setLowSpaceNotified(true);
    postNotification(
        tr("Your Mac is running out of space"),
        tr("Only %1 free. Open Dorvale to see what's taking up space.").arg(byteText(available)));
}

void BackgroundServices::checkSchedule() {
    if (m_state.isNull()) {
        return;
    }
    const std::optional<std::int64_t> period = periodSeconds(schedule());
    if (!period) {
        return;
    }
    if (m_lastAutoClean &&
        m_services.clock.now() - *m_lastAutoClean < static_cast<double>(*period)) {
        return;
    }
    runAutoClean();
}

bool BackgroundServices::runAutoClean(AutoCleanCompletion done) {
    if (m_state.isNull() || m_autoCleanRunning) {
        return false;
    }
    setAutoCleanRunning(true);
    runInBackground(this, junkSearch(m_services, autoCleanRules()),
                    [this, done = std::move(done)](const std::vector<JunkFinding>& findings) {
                        cleanFindings(findings, done);
                    });
    return true;
}

void BackgroundServices::cleanFindings(const std::vector<JunkFinding>& findings,
                                       const AutoCleanCompletion& done) {
    if (m_state.isNull()) {
        setAutoCleanRunning(false);
        return;
    }
    std::vector<DeletionRequest> requests;
    for (const JunkFinding& finding : findings) {
        for (const JunkItem& item : finding.items) {
            requests.push_back(DeletionRequest{.id = Uuid::random(),
                                               .path = item.id,
                                               .removal = Removal::Permanent,
                                               .confirmedRisk = Risk::Safe});
        }
    }
    m_state->runDeletion(std::move(requests), true, [this, done](const DeletionReport& report) {
        finishAutoClean(report, done);
    });
}

void BackgroundServices::finishAutoClean(const DeletionReport& report,
                                         const AutoCleanCompletion& done) {
    m_lastAutoClean = m_services.clock.now();
    m_lastAutoCleanBytes = report.freed;
    m_settings.setDate(SettingsKeys::lastAutoClean, *m_lastAutoClean);
    m_settings.setInteger(SettingsKeys::lastAutoCleanBytes, m_lastAutoCleanBytes);
    m_autoCleanRunning = false;
    emit lastAutoCleanChanged();
    emit lastAutoCleanBytesChanged();
    emit autoCleanRunningChanged();
    if (report.freed > cleanNotificationThreshold) {
        postNotification(tr("Dorvale cleaned %1").arg(byteText(report.freed)),
                         tr("Caches, logs and other regenerable files. Everything else was left "
                            "untouched."));
    }
    if (done) {
        done(report);
    }
}

void BackgroundServices::setAutoCleanRunning(bool running) {
    m_autoCleanRunning = running;
    emit autoCleanRunningChanged();
}

void BackgroundServices::setLaunchAtLogin(bool enabled) {
    LoginItemService& loginItems = m_services.loginItems;
    const Result<void> result = enabled ? loginItems.registerItem() : loginItems.unregisterItem();
    if (!result.ok()) {
        qCWarning(loginItemLog).noquote()
            << "Launch at login: " + QString::fromStdString(result.error().reason());
    }
    emit changed();
}

bool BackgroundServices::launchAtLogin() const {
    const Result<bool> enabled = m_services.loginItems.isEnabled();
    return enabled.ok() && enabled.value();
}

void BackgroundServices::postNotification(const QString& title, const QString& body) {
    m_services.notifier.post(title.toStdString(), body.toStdString());
}

void BackgroundServices::settingChanged(const std::string& key) {
    for (const std::string_view owned : ownedKeys) {
        if (key == owned) {
            emit changed();
            return;
        }
    }
}

} // namespace dorvale
