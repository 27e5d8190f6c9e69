#include "widgets/CellDelegate.hpp"

#include "model/Risk.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/SizeCell.hpp"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int lineGap = 1;
// The edge of the dot that may follow a name.
constexpr int markSide = 6;

int textMargin(const QStyleOptionViewItem& option) {
    const QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
}

QFont detailFont() {
    return Typography::font(TextStyle::Caption);
}

} // namespace

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem backdrop = option;
    initStyleOption(&backdrop, index);
    backdrop.text.clear();
    backdrop.icon = QIcon();
    backdrop.features &= ~QStyleOptionViewItem::HasDecoration;
    const QWidget* widget = option.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &backdrop, painter, widget);
    QStyleOptionViewItem content = option;
    const int margin = textMargin(option);
    content.rect = option.rect.adjusted(margin, 0, -margin, 0);
    paintContent(*painter, content, index);
}

double SizeBarDelegate::shareOf(qint64 size, qint64 largest) {
    return largest > 0
               ? std::clamp(static_cast<double>(size) / static_cast<double>(largest), 0.0, 1.0)
               : 0.0;
}

void SizeBarDelegate::paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    const QVariant size = index.data(SizeRole);
    if (!size.isValid()) {
        return;
    }
    const QVariant color = index.data(BarColorRole);
    SizeCell::paint(painter, option, size.toLongLong(),
                    shareOf(size.toLongLong(), index.data(LargestSizeRole).toLongLong()),
                    color.isValid() ? color.value<QColor>() : Theme::accent());
}

RiskDelegate::RiskDelegate(bool compact, QObject* parent)
    : CellDelegate(parent)
    , m_compact(compact) {}

void RiskDelegate::paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QVariant risk = index.data(RiskRole);
    if (risk.isValid()) {
        RiskBadge::paint(painter, option, static_cast<Risk>(risk.toInt()),
                         m_compact ? BadgeForm::Compact : BadgeForm::Full);
    }
}

NameDelegate::NameDelegate(QObject* parent, int iconSize)
    : CellDelegate(parent)
    , m_iconSize(iconSize) {}

int NameDelegate::rowHeight(const QFont& font, int iconSize) {
    const int text = QFontMetrics(font).height() + lineGap + QFontMetrics(detailFont()).height();
    return std::max(text, iconSize) + Theme::Space::small;
}

QSize NameDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = CellDelegate::sizeHint(option, index);
    size.setHeight(rowHeight(option.font, m_iconSize));
    return size;
}

void NameDelegate::paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QRect& rect = option.rect;
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    int textLeft = rect.left();
    if (!icon.isNull()) {
        const QRect iconRect(rect.left(), rect.top() + (rect.height() - m_iconSize) / 2,
                             m_iconSize, m_iconSize);
        icon.paint(&painter, iconRect);
        textLeft = iconRect.right() + 1 + Theme::Space::small;
    }
    const int width = std::max(0, rect.right() - textLeft);
    const QVariant nameFont = index.data(Qt::FontRole);
    const QFont font = nameFont.isValid() ? nameFont.value<QFont>() : option.font;
    const QFont detail = detailFont();
    const QFontMetrics nameMetrics(font);
    const QFontMetrics detailMetrics(detail);
    const int top =
        rect.top() + (rect.height() - nameMetrics.height() - lineGap - detailMetrics.height()) / 2;
    const QVariant mark = index.data(MarkColorRole);
    // The dot follows the name, or ends the line when the name is cut.
    const int nameWidth =
        mark.isValid() ? std::max(0, width - markSide - Theme::Space::snug) : width;
    const QString name = nameMetrics.elidedText(index.data().toString(), Qt::ElideRight, nameWidth);
    painter.save();
    painter.setFont(font);
    painter.setPen(Theme::foreground(option, Tone::Primary));
    painter.drawText(QRect(textLeft, top, nameWidth, nameMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
    if (mark.isValid()) {
        const int left = textLeft + Typography::textWidth(font, name) + Theme::Space::snug;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::cellColor(option, mark.value<QColor>()));
        painter.drawEllipse(
            QRectF(left, top + (nameMetrics.height() - markSide) / 2.0, markSide, markSide));
    }
    painter.setFont(detail);
    painter.setPen(Theme::foreground(option, Tone::Secondary));
    painter.drawText(
        QRect(textLeft, top + nameMetrics.height() + lineGap, width, detailMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        detailMetrics.elidedText(index.data(DetailRole).toString(), Qt::ElideMiddle, width));
    painter.restore();
}

void FigureDelegate::paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    painter.save();
    painter.setFont(Typography::monospacedDigits(option.font));
    const QVariant color = index.data(Qt::ForegroundRole);
    painter.setPen(color.isValid() ? Theme::cellColor(option, color.value<QColor>())
                                   : Theme::foreground(option, Tone::Secondary));
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    const auto horizontal = alignment.isValid()
                                ? Qt::Alignment(alignment.toInt()) & Qt::AlignHorizontal_Mask
                                : Qt::Alignment(Qt::AlignLeft);
    painter.drawText(option.rect, static_cast<int>(horizontal | Qt::AlignVCenter),
                     painter.fontMetrics().elidedText(index.data().toString(), Qt::ElideRight,
                                                      option.rect.width()));
    painter.restore();
}

} // namespace dorvale
