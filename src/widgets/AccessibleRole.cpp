#include "widgets/AccessibleRole.hpp"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace dorvale {

namespace {

constexpr auto roleProperty = "dorvaleAccessibleRole";

// Asked before Qt's own factories, for each class of the object from the most derived up; it
// answers only for widgets given a role here.
QAccessibleInterface* withRole(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = widget != nullptr ? widget->property(roleProperty) : QVariant();
    if (!role.isValid()) {
        return nullptr;
    }
    return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

void setAccessibleRole(QWidget& widget, QAccessible::Role role) {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(&withRole);
        return true;
    }();
    widget.setProperty(roleProperty, static_cast<int>(role));
}

} // namespace dorvale
