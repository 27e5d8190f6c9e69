#include "shell/sheets/DeletionPlanDelegate.hpp"

#include "shell/sheets/DeletionPlanModel.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/RiskBadge.hpp"

#include <QAbstractItemView>
#include <QPainter>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int horizontalPadding = Theme::Space::medium;
constexpr int verticalPadding = Theme::Space::snug;
constexpr int iconSize = 20;
constexpr int spacing = Theme::Space::medium;
constexpr int lineSpacing = Theme::Space::hairline;
constexpr int badgeGap = Theme::Space::small;
constexpr qreal focusOpacity = 0.6;

int lineHeight(TextStyle style) {
    return QFontMetrics(Typography::font(style)).lineSpacing();
}

// One line of text in `style`, cut with "…" where it does not fit; returns the line's
// rectangle so the next can go below it.
QRect drawLine(QPainter& painter, QRect area, TextStyle style, const QColor& color,
               const QString& text, Qt::TextElideMode elide) {
    const QFont font = Typography::font(style);
    const QFontMetrics metrics(font);
    area.setHeight(metrics.lineSpacing());
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(text, elide, area.width()));
    return area;
}

void paintHeader(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
    const QRect area = option.rect.adjusted(horizontalPadding, 0, -horizontalPadding, 0);
    const auto risk = riskFromRaw(index.data(DeletionPlanModel::RiskRole).toInt());
    const int badgeWidth = RiskBadge::sizeFor(*risk, BadgeForm::Full).width();
    QStyleOptionViewItem badge(option);
    badge.rect = area;
    RiskBadge::paint(painter, badge, *risk, BadgeForm::Full);
    const QRect summary = area.adjusted(badgeWidth + badgeGap, 0, 0, 0);
    painter.setFont(option.font);
    painter.setPen(Theme::foreground(option, Tone::Secondary));
    painter.drawText(
        summary, Qt::AlignLeft | Qt::AlignVCenter,
        option.fontMetrics.elidedText(index.data(DeletionPlanModel::DetailRole).toString(),
                                      Qt::ElideRight, summary.width()));
}

// The size at the right of the row; returns its width.
int paintSize(QPainter& painter, const QStyleOptionViewItem& option, const QRect& area,
              const QModelIndex& index) {
    const QFont font = Typography::font(TextStyle::Body, Digits::Tabular);
    const QString text = index.data(DeletionPlanModel::DetailRole).toString();
    const bool isProtected =
        index.data(DeletionPlanModel::RiskRole).toInt() == rawValue(Risk::Protected);
    painter.setFont(font);
    painter.setPen(Theme::foreground(option, isProtected ? Tone::Secondary : Tone::Primary));
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, text);
    return Typography::textWidth(font, text);
}

void paintItem(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
    const QRect area = option.rect.adjusted(horizontalPadding, verticalPadding, -horizontalPadding,
                                            -verticalPadding);
    const QRect icon(area.left(), area.center().y() - iconSize / 2 + 1, iconSize, iconSize);
    index.data(Qt::DecorationRole).value<QIcon>().paint(&painter, icon);
    const int sizeWidth = paintSize(painter, option, area, index);
    QRect line = area.adjusted(iconSize + spacing, 0, -(sizeWidth + spacing), 0);
    line = drawLine(painter, line, TextStyle::Body, Theme::foreground(option, Tone::Primary),
                    index.data().toString(), Qt::ElideRight);
    line.moveTop(line.bottom() + 1 + lineSpacing);
    line = drawLine(painter, line, TextStyle::Caption, Theme::foreground(option, Tone::Secondary),
                    index.data(DeletionPlanModel::ReasonRole).toString(), Qt::ElideRight);
    line.moveTop(line.bottom() + 1 + lineSpacing);
    drawLine(painter, line, TextStyle::Caption2, Theme::foreground(option, Tone::Tertiary),
             index.data(DeletionPlanModel::PathRole).toString(), Qt::ElideMiddle);
}

void paintFocus(QPainter& painter, const QStyleOptionViewItem& option) {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (!(option.state & QStyle::State_HasFocus) || view == nullptr || !view->hasFocus()) {
        return;
    }
    painter.setOpacity(1);
    painter.setPen(QPen(Theme::withOpacity(Theme::accent(), focusOpacity), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace

void DeletionPlanDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setOpacity(index.data(DeletionPlanModel::OpacityRole).toReal());
    if (index.data(DeletionPlanModel::IsHeaderRole).toBool()) {
        paintHeader(*painter, option, index);
    } else {
        paintItem(*painter, option, index);
    }
    paintFocus(*painter, option);
    painter->restore();
}

QSize DeletionPlanDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    const bool header = index.data(DeletionPlanModel::IsHeaderRole).toBool();
    return {option.rect.width(), header ? headerHeight() : itemHeight()};
}

int DeletionPlanDelegate::headerHeight() {
    const int badge = RiskBadge::sizeFor(Risk::Safe, BadgeForm::Full).height();
    return std::max(badge, lineHeight(TextStyle::Body)) + 2 * verticalPadding;
}

int DeletionPlanDelegate::itemHeight() {
    const int text = lineHeight(TextStyle::Body) + lineHeight(TextStyle::Caption) +
                     lineHeight(TextStyle::Caption2) + 2 * lineSpacing;
    return std::max(text, iconSize) + 2 * verticalPadding;
}

} // namespace dorvale
