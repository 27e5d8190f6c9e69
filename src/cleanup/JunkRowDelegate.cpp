#include "cleanup/JunkRowDelegate.hpp"

#include "cleanup/JunkModel.hpp"
#include "model/Risk.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/RiskBadge.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTreeView>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int listMargin = Theme::Space::small;
constexpr int rowPadding = Theme::Space::small;
constexpr int gap = 10;
constexpr int ruleMargin = 4;
constexpr int lineSpacing = 2;
constexpr int arrowSize = 12;
constexpr int checkSize = 16;
constexpr int headerIconSize = 18;
constexpr int headerHeight = 38;
constexpr int itemHeight = 26;
constexpr int ruleSizeWidth = 90;
constexpr int itemSizeWidth = 80;
constexpr int iconSize = 16;
// Items sit under their rule's title, past its arrow and checkbox.
constexpr int itemIndent = arrowSize + Theme::Space::snug + checkSize + gap;
constexpr qreal dimmedOpacity = 0.6;
constexpr qreal rowRadius = 6;
constexpr qreal selectedOpacity = 0.14;
constexpr qreal hoverOpacity = 0.05;
constexpr qreal focusOpacity = 0.6;

enum class RowKind { Header, Rule, Item, More };

RowKind kindOf(const QModelIndex& index) {
    if (SectionedListModel::isHeader(index)) {
        return RowKind::Header;
    }
    if (index.flags() & Qt::ItemIsUserCheckable) {
        return SectionedListModel::isSubEntry(index) ? RowKind::Item : RowKind::Rule;
    }
    return RowKind::More;
}

QFont titleFont() {
    return Typography::font(TextStyle::Body, FontWeight::Medium);
}
QFont captionFont() {
    return Typography::font(TextStyle::Caption);
}
QFont removalFont() {
    return Typography::font(TextStyle::Caption2);
}
QFont totalFont() {
    return Typography::font(TextStyle::Body, FontWeight::Semibold, Digits::Tabular);
}

int ruleHeight() {
    const int first = std::max(QFontMetrics(titleFont()).height(),
                               RiskBadge::sizeFor(Risk::Protected, BadgeForm::Full).height());
    return 2 * ruleMargin + first + lineSpacing + QFontMetrics(captionFont()).height() + 2 * 2;
}

QRect rowArea(const QRect& rect) {
    return rect.adjusted(listMargin + rowPadding, 0, -(listMargin + rowPadding), 0);
}

QRect centredSquare(int left, const QRect& row, int side) {
    return {left, row.center().y() - side / 2 + 1, side, side};
}

// Draws `text` elided to `rect` and answers the width it took.
int drawElided(QPainter& painter, const QRect& rect, const QString& text, const QFont& font,
               const QColor& color, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    if (rect.width() <= 0) {
        return 0;
    }
    const QFontMetrics metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(rect, alignment, shown);
    return std::min(metrics.horizontalAdvance(shown), rect.width());
}

void paintCheck(QPainter& painter, const QStyleOptionViewItem& option, const QRect& rect,
                const QModelIndex& index) {
    QStyleOptionButton box;
    box.rect = rect;
    box.state = QStyle::State_Enabled;
    box.state |= index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked
                     ? QStyle::State_On
                     : QStyle::State_Off;
    box.palette = option.palette;
    painter.save();
    painter.setOpacity(index.data(JunkModel::DimmedRole).toBool() ? dimmedOpacity : 1.0);
    const QWidget* widget = option.widget;
    (widget != nullptr ? widget->style() : QApplication::style())
        ->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, widget);
    painter.restore();
}

void paintBackdrop(QPainter& painter, const QStyleOptionViewItem& option) {
    const QRect area = option.rect.adjusted(listMargin, 0, -listMargin, 0);
    const QColor text = option.palette.color(QPalette::WindowText);
    if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(option.state & QStyle::State_Selected
                             ? Theme::withOpacity(Theme::accent(), selectedOpacity)
                             : Theme::withOpacity(text, hoverOpacity));
        painter.drawRoundedRect(QRectF(area).adjusted(0, 1, 0, -1), rowRadius, rowRadius);
    }
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if ((option.state & QStyle::State_HasFocus) && view != nullptr && view->hasFocus()) {
        painter.setPen(QPen(Theme::withOpacity(Theme::accent(), focusOpacity), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(area).adjusted(0.5, 1.5, -0.5, -1.5), rowRadius, rowRadius);
    }
}

void paintHeader(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
    const QRect area = rowArea(option.rect).adjusted(0, Theme::Space::small, 0, 0);
    const QFont font = Typography::font(TextStyle::Headline);
    const QColor text = Theme::foreground(option, Tone::Primary);
    const QRect icon = centredSquare(area.left(), area, headerIconSize);
    painter.drawPixmap(icon.topLeft(),
                       Symbols::pixmap(index.data(JunkModel::SymbolRole).toString(), headerIconSize,
                                       Theme::accent(), painter.device()->devicePixelRatioF()));
    drawElided(painter, area.adjusted(headerIconSize + Theme::Space::snug, 0, 0, 0),
               index.data().toString(), font, text);
}

void paintRule(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
    paintBackdrop(painter, option);
    const QRect area = rowArea(option.rect).adjusted(0, ruleMargin, 0, -ruleMargin);
    const auto* view = qobject_cast<const QTreeView*>(option.widget);
    const bool open = view != nullptr && view->isExpanded(index);
    const QColor secondary = Theme::foreground(option, Tone::Secondary);
    // An open rule's arrow points down: the closed one turned a quarter.
    const QRect arrow = centredSquare(area.left(), area, arrowSize);
    painter.save();
    painter.translate(QRectF(arrow).center());
    painter.rotate(open ? 90 : 0);
    painter.drawPixmap(QPointF(-arrowSize / 2.0, -arrowSize / 2.0),
                       Symbols::pixmap(QStringLiteral("chevron.right"), arrowSize, secondary,
                                       painter.device()->devicePixelRatioF()));
    painter.restore();
    paintCheck(painter, option, JunkRowDelegate::checkRect(option.rect, index), index);

    // The figures at the right first; the text takes what is left.
    const QRect size(area.right() - ruleSizeWidth + 1, area.top(), ruleSizeWidth, area.height());
    drawElided(painter, size, index.data(JunkModel::SizeTextRole).toString(), totalFont(),
               Theme::foreground(option, Tone::Primary), Qt::AlignRight | Qt::AlignVCenter);
    const QString count = index.data(JunkModel::CountTextRole).toString();
    const int countWidth = Typography::textWidth(captionFont(), count);
    const QRect countRect(size.left() - gap - countWidth, area.top(), countWidth, area.height());
    drawElided(painter, countRect, count, captionFont(), secondary);

    const int left = JunkRowDelegate::checkRect(option.rect, index).right() + 1 + gap;
    const int right = countRect.left() - gap;
    const int firstHeight = area.height() - lineSpacing - QFontMetrics(captionFont()).height();
    const QRect first(left, area.top(), std::max(0, right - left), firstHeight);
    const QRect second(left, first.bottom() + 1 + lineSpacing, first.width(),
                       QFontMetrics(captionFont()).height());

    const auto risk = static_cast<Risk>(index.data(RiskRole).toInt());
    const QSize badge = RiskBadge::sizeFor(risk, BadgeForm::Full);
    const QString removal = index.data(JunkModel::RemovalRole).toString();
    const int removalWidth = Typography::textWidth(removalFont(), removal);
    const int titleRoom = std::max(0, first.width() - 2 * gap - badge.width() - removalWidth);
    const int title =
        drawElided(painter, first.adjusted(0, 0, titleRoom - first.width(), 0),
                   index.data().toString(), titleFont(), Theme::foreground(option, Tone::Primary));
    QStyleOptionViewItem badgeOption = option;
    badgeOption.rect =
        QRect(first.left() + title + gap, first.top(),
              std::min(badge.width(), std::max(0, first.width() - title - gap)), first.height());
    if (badgeOption.rect.width() > 0) {
        RiskBadge::paint(painter, badgeOption, risk, BadgeForm::Full);
    }
    const int removalLeft = badgeOption.rect.right() + 1 + gap;
    drawElided(painter,
               QRect(removalLeft, first.top(), first.right() + 1 - removalLeft, first.height()),
               removal, removalFont(), Theme::foreground(option, Tone::Tertiary));
    drawElided(painter, second, index.data(JunkModel::ExplanationRole).toString(), captionFont(),
               secondary);
}

void paintItem(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
    paintBackdrop(painter, option);
    const QRect area = rowArea(option.rect);
    const QRect check = JunkRowDelegate::checkRect(option.rect, index);
    paintCheck(painter, option, check, index);
    const QRect icon = centredSquare(check.right() + 1 + Theme::Space::small, area, iconSize);
    index.data(Qt::DecorationRole).value<QIcon>().paint(&painter, icon);

    const QRect size(area.right() - itemSizeWidth + 1, area.top(), itemSizeWidth, area.height());
    drawElided(painter, size, index.data(JunkModel::SizeTextRole).toString(),
               Typography::monospacedDigits(option.font), Theme::foreground(option, Tone::Primary),
               Qt::AlignRight | Qt::AlignVCenter);
    int right = size.left() - gap;
    const QString date = index.data(JunkModel::DateTextRole).toString();
    if (!date.isEmpty()) {
        const int width = Typography::textWidth(captionFont(), date);
        right -= width;
        drawElided(painter, QRect(right, area.top(), width, area.height()), date, captionFont(),
                   Theme::foreground(option, Tone::Secondary));
        right -= gap;
    }
    const int left = icon.right() + 1 + Theme::Space::small;
    drawElided(painter, QRect(left, area.top(), right - left, area.height()),
               index.data().toString(), option.font, Theme::foreground(option, Tone::Primary));
}

void paintMore(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
    const QRect area = rowArea(option.rect).adjusted(itemIndent, 0, 0, 0);
    drawElided(painter, area, index.data().toString(), captionFont(),
               Theme::foreground(option, Tone::Secondary));
}

} // namespace

QRect JunkRowDelegate::checkRect(const QRect& rect, const QModelIndex& index) {
    const QRect area = rowArea(rect);
    switch (kindOf(index)) {
    case RowKind::Rule:
        return centredSquare(area.left() + arrowSize + Theme::Space::snug, area, checkSize);
    case RowKind::Item:
        return centredSquare(area.left() + itemIndent, area, checkSize);
    case RowKind::Header:
    case RowKind::More:
        return {};
    }
    return {};
}

void JunkRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    switch (kindOf(index)) {
    case RowKind::Header:
        paintHeader(*painter, option, index);
        break;
    case RowKind::Rule:
        paintRule(*painter, option, index);
        break;
    case RowKind::Item:
        paintItem(*painter, option, index);
        break;
    case RowKind::More:
        paintMore(*painter, option, index);
        break;
    }
    painter->restore();
}

QSize JunkRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    switch (kindOf(index)) {
    case RowKind::Header:
        return {option.rect.width(), headerHeight};
    case RowKind::Rule:
        return {option.rect.width(), ruleHeight()};
    case RowKind::Item:
    case RowKind::More:
        return {option.rect.width(), itemHeight};
    }
    return {option.rect.width(), itemHeight};
}

bool JunkRowDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    const RowKind kind = kindOf(index);
    if (kind != RowKind::Rule && kind != RowKind::Item) {
        return false;
    }
    const auto toggle = [&] {
        const bool on = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        return model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        return mouse->button() == Qt::LeftButton &&
               checkRect(option.rect, index).contains(mouse->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !option.rect.contains(mouse->position().toPoint())) {
            return false;
        }
        if (checkRect(option.rect, index).contains(mouse->position().toPoint())) {
            return toggle();
        }
        if (kind == RowKind::Rule) {
            emit ruleClicked(index);
        }
        return false;
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
