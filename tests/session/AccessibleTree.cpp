#include "AccessibleTree.hpp"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>

#include <cstdio>

namespace dorvale::test {

namespace {

const QString registry = QStringLiteral("org.a11y.atspi.Registry");
const QString rootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString accessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int callTimeout = 5000;
// Deep enough for any window of the program, shallow enough to stop on a cycle.
constexpr int deepest = 40;

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const AccessibleObject& object) {
    argument.beginStructure();
    argument << object.service << object.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, AccessibleObject& object) {
    argument.beginStructure();
    argument >> object.service >> object.path;
    argument.endStructure();
    return argument;
}

AccessibleTree::AccessibleTree(QDBusConnection bus)
    : m_bus(std::move(bus)) {}

std::optional<AccessibleTree> AccessibleTree::open() {
    qDBusRegisterMetaType<Object>();
    qDBusRegisterMetaType<QList<Object>>();
    const QDBusConnection session = QDBusConnection::sessionBus();
    QDBusMessage enable = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), propertiesInterface,
        QStringLiteral("Set"));
    enable << QStringLiteral("org.a11y.Status") << QStringLiteral("IsEnabled")
           << QVariant::fromValue(QDBusVariant(true));
    const QDBusMessage enabled = session.call(enable, QDBus::Block, callTimeout);
    const QDBusReply<QString> address =
        session.call(QDBusMessage::createMethodCall(
                         QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                         QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")),
                     QDBus::Block, callTimeout);
    if (enabled.type() == QDBusMessage::ErrorMessage || !address.isValid()) {
        std::fprintf(stderr, "No accessibility bus: %s\n",
                     qPrintable(enabled.errorMessage() + address.error().message()));
        return std::nullopt;
    }
    QDBusConnection bus =
        QDBusConnection::connectToBus(address.value(), QStringLiteral("accessibility"));
    if (!bus.isConnected()) {
        std::fprintf(stderr, "Cannot reach the accessibility bus at %s\n",
                     qPrintable(address.value()));
        return std::nullopt;
    }
    return AccessibleTree(bus);
}

bool AccessibleTree::shows(const QString& application, const QString& name) const {
    for (const Object& program : children({registry, QDBusObjectPath(rootPath)})) {
        if (nameOf(program) == application && holds(program, name, 0)) {
            return true;
        }
    }
    return false;
}

QList<AccessibleTree::Object> AccessibleTree::children(const Object& object) const {
    const QDBusReply<QList<Object>> reply = m_bus.call(
        QDBusMessage::createMethodCall(object.service, object.path.path(), accessibleInterface,
                                       QStringLiteral("GetChildren")),
        QDBus::Block, callTimeout);
    return reply.isValid() ? reply.value() : QList<Object>();
}

QString AccessibleTree::nameOf(const Object& object) const {
    QDBusMessage get = QDBusMessage::createMethodCall(object.service, object.path.path(),
                                                      propertiesInterface, QStringLiteral("Get"));
    get << accessibleInterface << QStringLiteral("Name");
    const QDBusReply<QDBusVariant> reply = m_bus.call(get, QDBus::Block, callTimeout);
    return reply.isValid() ? reply.value().variant().toString() : QString();
}

bool AccessibleTree::holds(const Object& object, const QString& name, int depth) const {
    if (depth > deepest) {
        return false;
    }
    for (const Object& child : children(object)) {
        if (nameOf(child) == name || holds(child, name, depth + 1)) {
            return true;
        }
    }
    return false;
}

} // namespace dorvale::test
