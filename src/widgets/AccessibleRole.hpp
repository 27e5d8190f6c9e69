#pragma once

#include <QAccessible>

class QWidget;

namespace dorvale {

/// Tells assistive technology that `widget` plays `role` (a chart, an animation, a
/// notification). Qt knows a painted widget only as a plain one; everything else it tells
/// about the widget (its accessible name and description, state and place) stays as it is.
/// Set it in the widget's constructor, before anything asks about the widget.
void setAccessibleRole(QWidget& widget, QAccessible::Role role);

} // namespace dorvale
