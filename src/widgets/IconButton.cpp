#include "widgets/IconButton.hpp"

#include "style/Symbols.hpp"

#include <QKeyEvent>
#include <QMenu>

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

void IconButton::keyPressEvent(QKeyEvent* event) {
    const bool opensMenu = event->key() == Qt::Key_F4 ||
                           (event->key() == Qt::Key_Down &&
                            (event->modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier)) == 0);
    if (opensMenu && menu() != nullptr && popupMode() == QToolButton::MenuButtonPopup) {
        event->accept();
        showMenu();
        return;
    }
    QToolButton::keyPressEvent(event);
}

void IconButton::nameForAssistiveTechnology() {
    setAccessibleName(toolButtonStyle() == Qt::ToolButtonIconOnly ? toolTip() : QString());
}

} // namespace dorvale
