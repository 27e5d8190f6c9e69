#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QString>

#include <optional>

namespace dorvale::test {

/// An object on the accessibility bus: the program that serves it and its path there.
struct AccessibleObject {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& argument, const AccessibleObject& object);
const QDBusArgument& operator>>(const QDBusArgument& argument, AccessibleObject& object);

/// What assistive technology sees of the running programs, read over the accessibility bus
/// as a screen reader reads it.
class AccessibleTree {
public:
    /// Switches accessibility on for the session (as a screen reader does when it starts) and
    /// connects to the accessibility bus; nothing when the session has no such bus.
    [[nodiscard]] static std::optional<AccessibleTree> open();

    /// Whether the application of that name shows an object of that name anywhere in it.
    [[nodiscard]] bool shows(const QString& application, const QString& name) const;

private:
    using Object = AccessibleObject;

    explicit AccessibleTree(QDBusConnection bus);

    [[nodiscard]] QList<Object> children(const Object& object) const;
    [[nodiscard]] QString nameOf(const Object& object) const;
    [[nodiscard]] bool holds(const Object& object, const QString& name, int depth) const;

    QDBusConnection m_bus;
};

} // namespace dorvale::test
