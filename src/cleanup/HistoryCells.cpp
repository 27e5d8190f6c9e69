#include "cleanup/HistoryCells.hpp"

#include "style/Theme.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace dorvale {

namespace {

constexpr int buttonHeight = 24;

} // namespace

QRect CellButtonDelegate::buttonRect(const QRect& cell, const QFont& font, const QString& text) {
    const int width = std::min(cell.width(), QFontMetrics(font).horizontalAdvance(text) +
                                                 2 * Theme::Space::medium);
    const int height = std::min(cell.height(), buttonHeight);
    return {cell.left() + (cell.width() - width) / 2, cell.top() + (cell.height() - height) / 2,
            width, height};
}

void CellButtonDelegate::paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    const QString text = index.data().toString();
    if (text.isEmpty()) {
        return;
    }
    QStyleOptionButton button;
    button.rect = buttonRect(option.rect, option.font, text);
    button.text = text;
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    button.palette = option.palette;
    button.fontMetrics = option.fontMetrics;
    const QWidget* widget = option.widget;
    (widget != nullptr ? widget->style() : QApplication::style())
        ->drawControl(QStyle::CE_PushButton, &button, &painter, widget);
}

bool CellButtonDelegate::editorEvent(QEvent* event, QAbstractItemModel*,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    const QString text = index.data().toString();
    if (text.isEmpty()) {
        return false;
    }
    const auto inside = [&option, &text, event] {
        return buttonRect(option.rect, option.font, text)
            .contains(static_cast<QMouseEvent*>(event)->position().toPoint());
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return inside();
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton || !inside()) {
            return false;
        }
        emit clicked(index.row());
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Space) {
            return false;
        }
        emit clicked(index.row());
        return true;
    default:
        return false;
    }
}

} // namespace dorvale
