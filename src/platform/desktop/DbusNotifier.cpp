#include "platform/desktop/DbusNotifier.hpp"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QLoggingCategory>
#include <QStringList>
#include <QVariantMap>

#include <utility>

namespace dorvale {

namespace {

Q_LOGGING_CATEGORY(notificationLog, "dorvale.notifications")

// Servers that read markup in the body would take "<", ">" and "&" as the start of a tag or
// an entity, and may then drop the whole text as malformed.
QString escapedForMarkup(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&') {
            escaped += QStringLiteral("&amp;");
        } else if (c == u'<') {
            escaped += QStringLiteral("&lt;");
        } else if (c == u'>') {
            escaped += QStringLiteral("&gt;");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QDBusMessage notifyCall(const std::string& title, const std::string& body) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop entry lets the server show the program's name and icon and group its
    // notifications; the program's notifications make no sound.
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QStringLiteral("app.dorvale.Dorvale")},
        {QStringLiteral("suppress-sound"), true}};
    const uint replacesNothing = 0;
    const int serverDecidesExpiry = -1;
    call << QStringLiteral("Dorvale") << replacesNothing << QString()
         << QString::fromStdString(title) << escapedForMarkup(QString::fromStdString(body))
         << QStringList() << hints << serverDecidesExpiry;
    return call;
}

} // namespace

DbusNotifier::DbusNotifier(const SessionBus& bus)
    : m_bus([&bus] { return bus.connection(); }) {}

DbusNotifier::DbusNotifier(QDBusConnection bus)
    : m_bus([bus = std::move(bus)] { return bus; }) {}

void DbusNotifier::post(const std::string& title, const std::string& body) {
    QDBusConnection bus = m_bus();
    if (!bus.isConnected()) {
        reportUndelivered(QStringLiteral("there is no session bus"));
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(notifyCall(title, body)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                if (finished->isError()) {
                    reportUndelivered(finished->error().message());
                } else {
                    m_failureLogged = false;
                }
                finished->deleteLater();
            });
}

void DbusNotifier::requestPermission() {}

void DbusNotifier::reportUndelivered(const QString& reason) {
    if (!m_failureLogged) {
        m_failureLogged = true;
        qCWarning(notificationLog).noquote() << "Notification not shown:" << reason;
    }
}

} // namespace dorvale
