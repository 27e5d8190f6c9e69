#include "widgets/IconButton.hpp"

#include "style/Symbols.hpp"

#include <QEvent>

namespace dorvale {

IconButton::IconButton(const QString& symbol, const QString& name, QWidget* parent)
    : QToolButton(parent) {
    setSymbol(symbol);
    setToolTip(name);
}

void IconButton::setSymbol(const QString& symbol) {
    setProperty("symbol", symbol);
    setIcon(Symbols::icon(symbol));
}

QString IconButton::symbol() const {
    return property("symbol").toString();
}

void IconButton::setLabel(const QString& label) {
    setText(label);
    setToolButtonStyle(label.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    nameForAssistiveTechnology();
}

bool IconButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTipChange) {
        nameForAssistiveTechnology();
    }
    return QToolButton::event(event);
}

void IconButton::nameForAssistiveTechnology() {
    setAccessibleName(toolButtonStyle() == Qt::ToolButtonIconOnly ? toolTip() : QString());
}

} // namespace dorvale
