#include "app/BackgroundServices.hpp"

#include "app/SettingsKeys.hpp"

#include <array>
#include <string_view>
#include <utility>

namespace dorvale {

namespace {

constexpr std::array ownedKeys = {
    SettingsKeys::cleanSchedule, SettingsKeys::lowSpaceGB,    SettingsKeys::lowSpaceNotified,
    SettingsKeys::menuBar,       SettingsKeys::lastAutoClean, SettingsKeys::lastAutoCleanBytes,
};

} // namespace

BackgroundServices::BackgroundServices(const AppServices& services, SettingsStore& settings,
                                       QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_volume(services.readVolume("/"))
    , m_lastAutoClean(settings.dateValue(SettingsKeys::lastAutoClean))
    , m_lastAutoCleanBytes(settings.integerValue(SettingsKeys::lastAutoCleanBytes).value_or(0)) {
    connect(&m_settings, &SettingsStore::changed, this, &BackgroundServices::settingChanged);
}

void BackgroundServices::setVolume(std::optional<VolumeInfo> volume) {
    m_volume = std::move(volume);
    emit volumeChanged();
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

void BackgroundServices::settingChanged(const std::string& key) {
    for (const std::string_view owned : ownedKeys) {
        if (key == owned) {
            emit changed();
            return;
        }
    }
}

} // namespace dorvale
