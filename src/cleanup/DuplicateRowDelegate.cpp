#include "cleanup/DuplicateRowDelegate.hpp"

#include "cleanup/DuplicatesModel.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/CellDelegate.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int margin = Theme::Space::small;
constexpr int padding = Theme::Space::small;
constexpr int gap = Theme::Space::small;
constexpr int checkSide = 16;
constexpr int iconSide = 18;
constexpr int lineGap = 1;
constexpr qreal rowRadius = 6;
constexpr qreal selectedOpacity = 0.18;
constexpr qreal hoverOpacity = 0.06;

QFont captionFont() {
    return Typography::font(TextStyle::Caption, Digits::Tabular);
}

void drawLine(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment alignment,
              Qt::TextElideMode elide) {
    painter.drawText(rect, static_cast<int>(alignment | Qt::AlignVCenter),
                     painter.fontMetrics().elidedText(text, elide, rect.width()));
}

void paintBackground(QPainter& painter, const QStyleOptionViewItem& option, const QRect& area) {
    if (!(option.state & (QStyle::State_Selected | QStyle::State_MouseOver))) {
        return;
    }
    const QColor text = option.palette.color(QPalette::WindowText);
    painter.setPen(Qt::NoPen);
    painter.setBrush(option.state & QStyle::State_Selected
                         ? Theme::withOpacity(Theme::accent(), selectedOpacity)
                         : Theme::withOpacity(text, hoverOpacity));
    painter.drawRoundedRect(QRectF(area).adjusted(0, 1, 0, -1), rowRadius, rowRadius);
}

void paintCheck(QPainter& painter, const QStyleOptionViewItem& option, const QRect& rect,
                bool checked) {
    QStyleOptionButton box;
    box.rect = rect;
    box.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    box.palette = option.palette;
    const QWidget* widget = option.widget;
    (widget != nullptr ? widget->style() : QApplication::style())
        ->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, widget);
}

} // namespace

DuplicateRowDelegate::DuplicateRowDelegate(QAbstractItemDelegate* fallback, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_fallback(fallback) {}

QRect DuplicateRowDelegate::checkRect(const QRect& row) {
    return {row.left() + margin + padding, row.center().y() - checkSide / 2 + 1, checkSide,
            checkSide};
}

QSize DuplicateRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), NameDelegate::rowHeight(option.font)};
}

void DuplicateRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    if (!(index.flags() & Qt::ItemIsUserCheckable)) {
        m_fallback->paint(painter, option, index);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    paintEntry(*painter, option, index);
    painter->restore();
}

void DuplicateRowDelegate::paintEntry(QPainter& painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
    paintBackground(painter, option, area);
    // The highlight is a light tint, so the texts keep their unselected colours on it.
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_Selected;
    const QRect check = checkRect(option.rect);
    paintCheck(painter, option, check,
               index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked);
    const QRect icon(check.right() + 1 + gap, area.center().y() - iconSide / 2 + 1, iconSide,
                     iconSide);
    index.data(Qt::DecorationRole).value<QIcon>().paint(&painter, icon);

    // Measured as the painter's device draws them, so the fixed texts are never cut.
    const QFont caption = captionFont();
    painter.setFont(caption);
    const QFontMetrics captionMetrics = painter.fontMetrics();
    int right = area.right() - padding;
    // Dates take one column's width, wider only where a language writes one longer.
    const QString date = index.data(DuplicatesModel::DateRole).toString();
    const int dateWidth = std::max(captionMetrics.horizontalAdvance(QStringLiteral("Sep 30, 2023")),
                                   captionMetrics.horizontalAdvance(date)) +
                          2;
    painter.setPen(Theme::foreground(plain, Tone::Secondary));
    drawLine(painter, QRect(right - dateWidth, area.top(), dateWidth, area.height()), date,
             Qt::AlignRight, Qt::ElideRight);
    right -= dateWidth + gap * 2;
    if (index.data(DuplicatesModel::SuggestedRole).toBool()) {
        const QString suggested = tr("Suggested original");
        const int width = captionMetrics.horizontalAdvance(suggested) + 2;
        painter.setPen(Theme::cellColor(plain, Theme::safe()));
        drawLine(painter, QRect(right - width, area.top(), width, area.height()), suggested,
                 Qt::AlignRight, Qt::ElideRight);
        right -= width + gap * 2;
    }

    const int left = icon.right() + 1 + gap;
    const QRect text(left, area.top(), std::max(0, right - left), area.height());
    const QFontMetrics nameMetrics(option.font);
    const int top =
        text.top() + (text.height() - nameMetrics.height() - lineGap - captionMetrics.height()) / 2;
    painter.setFont(option.font);
    painter.setPen(Theme::foreground(plain, Tone::Primary));
    drawLine(painter, QRect(text.left(), top, text.width(), nameMetrics.height()),
             index.data().toString(), Qt::AlignLeft, Qt::ElideRight);
    painter.setFont(caption);
    painter.setPen(Theme::foreground(plain, Tone::Secondary));
    drawLine(painter,
             QRect(text.left(), top + nameMetrics.height() + lineGap, text.width(),
                   captionMetrics.height()),
             index.data(DetailRole).toString(), Qt::AlignLeft, Qt::ElideMiddle);
}

bool DuplicateRowDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                       const QStyleOptionViewItem& option,
                                       const QModelIndex& index) {
    if (!(index.flags() & Qt::ItemIsUserCheckable)) {
        return false;
    }
    const auto toggle = [model, &index] {
        const bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return checkRect(option.rect)
            .contains(static_cast<QMouseEvent*>(event)->position().toPoint());
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        return mouse->button() == Qt::LeftButton &&
               checkRect(option.rect).contains(mouse->position().toPoint()) && toggle();
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return (key == Qt::Key_Space || key == Qt::Key_Select) && toggle();
    }
    default:
        return false;
    }
}

} // namespace dorvale
