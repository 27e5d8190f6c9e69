#include "platform/desktop/TrayWatch.hpp"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QTimer>

namespace dorvale {

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
// The toolkit gives up on a silent host after 25 s; a look gives up sooner.
constexpr int answerLimitMilliseconds = 5000;

// Calls `call` on `bus` and hands the reply to `then` on this thread, or an error reply when
// no answer came in time.
void ask(QObject* context, const QDBusConnection& bus, const QDBusMessage& call,
         const std::function<void(const QDBusMessage&)>& then) {
    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(call, answerLimitMilliseconds), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [then](QDBusPendingCallWatcher* finished) {
                         then(finished->reply());
                         finished->deleteLater();
                     });
}

bool answeredTrue(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    const QVariant value = reply.arguments().constFirst();
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant().toBool()
                                            : value.toBool();
}

} // namespace

TrayWatch::TrayWatch(const SessionBus& bus, ToolkitCheck toolkitCheck, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
    , m_toolkitCheck(std::move(toolkitCheck)) {}

bool TrayWatch::available() {
    if (!m_looking) {
        look();
    }
    return m_available;
}

void TrayWatch::look() {
    if (m_bus.isConnecting()) {
        return;
    }
    m_looking = true;
    const QDBusConnection bus = m_bus.connection();
    if (!bus.isConnected()) {
        // Answers come from the event loop, never from inside the question.
        QTimer::singleShot(0, this, [this] { settle(m_toolkitCheck()); });
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    call << watcherService;
    ask(this, bus, call, [this, bus](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage) {
            settle(false);
        } else if (answeredTrue(reply)) {
            askHost(bus);
        } else {
            settle(m_toolkitCheck());
        }
    });
}

void TrayWatch::askHost(const QDBusConnection& bus) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        watcherService, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    ask(this, bus, call, [this](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage) {
            // A watcher that does not answer would hold the toolkit's check as well.
            settle(false);
        } else {
            settle(answeredTrue(reply) || m_toolkitCheck());
        }
    });
}

void TrayWatch::settle(bool available) {
    m_looking = false;
    if (available != m_available) {
        m_available = available;
        emit availabilityChanged();
    }
}

} // namespace dorvale
