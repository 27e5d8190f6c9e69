#include "analysis/NodeCells.hpp"

#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/RiskBadge.hpp"

#include <QPainter>

namespace dorvale {

namespace {

constexpr int lineGap = 1;

void drawLine(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment alignment,
              Qt::TextElideMode elide) {
    painter.drawText(rect, static_cast<int>(alignment | Qt::AlignVCenter),
                     painter.fontMetrics().elidedText(text, elide, rect.width()));
}

} // namespace

void NodeNameDelegate::paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const QRect& rect = option.rect;
    const QRect iconRect(rect.left(), rect.top() + (rect.height() - iconSide) / 2, iconSide,
                         iconSide);
    index.data(Qt::DecorationRole).value<QIcon>().paint(&painter, iconRect);
    const int left = iconRect.right() + 1 + Theme::Space::small;
    int right = rect.right();
    const QString name = index.data().toString();
    const QString detail = index.data(DetailRole).toString();
    const QFontMetrics nameMetrics(option.font);
    painter.save();
    if (index.data(UnreadableRole).toBool()) {
        // The lock follows the name, or ends the cell when the name is cut.
        const int side = nameMetrics.ascent();
        const int nameWidth =
            std::min(nameMetrics.horizontalAdvance(name), right - left - side - Theme::Space::snug);
        const QPoint at(left + std::max(nameWidth, 0) + Theme::Space::snug,
                        rect.top() + (rect.height() - side) / 2 -
                            (detail.isEmpty() ? 0 : nameMetrics.height() / 2));
        painter.drawPixmap(at, Symbols::pixmap(u"lock.fill", side,
                                               Theme::cellColor(option, Theme::caution()),
                                               painter.device()->devicePixelRatioF()));
        right = at.x() - Theme::Space::snug + nameMetrics.horizontalAdvance(QLatin1Char(' '));
    }
    const int width = std::max(0, right - left);
    painter.setFont(option.font);
    painter.setPen(Theme::foreground(option, Tone::Primary));
    if (detail.isEmpty()) {
        drawLine(painter, QRect(left, rect.top(), width, rect.height()), name, Qt::AlignLeft,
                 Qt::ElideRight);
    } else {
        const QFont detailFont = Typography::font(TextStyle::Caption);
        const int detailHeight = QFontMetrics(detailFont).height();
        const int top =
            rect.top() + (rect.height() - nameMetrics.height() - lineGap - detailHeight) / 2;
        drawLine(painter, QRect(left, top, width, nameMetrics.height()), name, Qt::AlignLeft,
                 Qt::ElideRight);
        painter.setFont(detailFont);
        painter.setPen(Theme::foreground(option, Tone::Secondary));
        drawLine(
            painter,
            QRect(left, top + nameMetrics.height() + lineGap, rect.right() - left, detailHeight),
            detail, Qt::AlignLeft, Qt::ElideMiddle);
    }
    painter.restore();
}

void DotLabelDelegate::paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const QRect& rect = option.rect;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::cellColor(option, index.data(DotColorRole).value<QColor>()));
    painter.drawEllipse(
        QRectF(rect.left(), rect.top() + (rect.height() - dotSide) / 2.0, dotSide, dotSide));
    const int left = rect.left() + dotSide + Theme::Space::tight + 1;
    painter.setPen(Theme::foreground(option, Tone::Secondary));
    painter.setFont(option.font);
    drawLine(painter, QRect(left, rect.top(), std::max(0, rect.right() - left), rect.height()),
             index.data().toString(), Qt::AlignLeft, Qt::ElideRight);
    painter.restore();
}

std::vector<ListTable::Width> nodeColumnWidths(const QFont& font,
                                               std::span<const ListTable::Width> nominal,
                                               int dateColumn, int riskColumn) {
    std::vector<ListTable::Width> widths(nominal.begin(), nominal.end());
    const int margins = 2 * Theme::Space::small;
    const auto atLeast = [&widths](int column, int least) {
        auto& width = widths[static_cast<std::size_t>(column)];
        width.least = std::max(width.least, least);
        width.preferred = std::max(width.preferred, least);
    };
    atLeast(dateColumn, Typography::textWidth(Typography::monospacedDigits(font),
                                              QStringLiteral("Sep 30, 2023")) +
                            margins);
    atLeast(riskColumn, RiskBadge::sizeFor(Risk::Protected, BadgeForm::Full).width() + margins);
    return widths;
}

} // namespace dorvale
