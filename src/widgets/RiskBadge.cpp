#include "widgets/RiskBadge.hpp"

#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/AccessibleRole.hpp"
#include "widgets/CellOption.hpp"

#include <QFontMetrics>
#include <QPainter>

namespace dorvale {

namespace {

constexpr int horizontalPadding = 7;
constexpr int verticalPadding = 2;
constexpr int iconSpacing = Theme::Space::tight;
constexpr qreal backgroundOpacity = 0.13;
constexpr qreal iconToLineHeight = 0.9;

int iconSize(const QFontMetrics& metrics) {
    return qRound(metrics.height() * iconToLineHeight);
}

} // namespace

RiskBadge::RiskBadge(Risk risk, BadgeForm form, QWidget* parent)
    : QWidget(parent)
    , m_risk(risk)
    , m_form(form) {
    setAccessibleRole(*this, QAccessible::StaticText);
    setFont(badgeFont());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    describe();
}

void RiskBadge::setRisk(Risk risk) {
    m_risk = risk;
    describe();
    updateGeometry();
    update();
}

QString RiskBadge::text() const {
    return isCompact() ? QString() : riskTitle(m_risk);
}

QString RiskBadge::riskTitle(Risk risk) {
    const std::string_view text = title(risk);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString RiskBadge::symbolName(Risk risk) {
    switch (risk) {
    case Risk::Safe:
        return QStringLiteral("checkmark.shield.fill");
    case Risk::Review:
        return QStringLiteral("exclamationmark.triangle.fill");
    case Risk::Protected:
        return QStringLiteral("lock.fill");
    }
    return QStringLiteral("lock.fill");
}

QFont RiskBadge::badgeFont() {
    return Typography::font(TextStyle::Caption, FontWeight::Semibold);
}

QMargins RiskBadge::padding(BadgeForm form) {
    return form == BadgeForm::Compact
               ? QMargins()
               : QMargins(horizontalPadding, verticalPadding, horizontalPadding, verticalPadding);
}

QColor RiskBadge::backgroundColor(Risk risk, BadgeForm form) {
    return form == BadgeForm::Compact
               ? QColor(Qt::transparent)
               : Theme::withOpacity(Theme::riskColor(risk), backgroundOpacity);
}

QSize RiskBadge::sizeFor(Risk risk, BadgeForm form) {
    const QFont font = badgeFont();
    const QFontMetrics metrics(font);
    const int icon = iconSize(metrics);
    QSize content(icon, std::max(icon, metrics.height()));
    if (form == BadgeForm::Full) {
        content.rwidth() += iconSpacing + Typography::textWidth(font, riskTitle(risk));
    }
    return content.grownBy(padding(form));
}

void RiskBadge::paint(QPainter& painter, const QStyleOptionViewItem& option, Risk risk,
                      BadgeForm form) {
    const QRect& rect = option.rect;
    const QSize size = sizeFor(risk, form);
    const QRect badge(rect.left(), rect.top() + (rect.height() - size.height()) / 2,
                      std::min(size.width(), rect.width()), size.height());
    const QColor color = Theme::cellColor(option, Theme::riskColor(risk));
    const QFont font = badgeFont();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (form == BadgeForm::Full) {
        const qreal radius = badge.height() / 2.0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::withOpacity(color, backgroundOpacity));
        painter.drawRoundedRect(QRectF(badge), radius, radius);
    }
    const QRect content = badge.marginsRemoved(padding(form));
    const QFontMetrics metrics(font);
    const int icon = iconSize(metrics);
    painter.drawPixmap(
        content.left(), content.top() + (content.height() - icon) / 2,
        Symbols::pixmap(symbolName(risk), icon, color, painter.device()->devicePixelRatioF()));
    if (form == BadgeForm::Full) {
        painter.setFont(font);
        painter.setPen(color);
        const QRect text = content.adjusted(icon + iconSpacing, 0, 0, 0);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(riskTitle(risk), Qt::ElideRight, text.width()));
    }
    painter.restore();
}

QSize RiskBadge::sizeHint() const {
    return sizeFor(m_risk, m_form);
}

void RiskBadge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, cellOptionFor(*this), m_risk, m_form);
}

void RiskBadge::describe() {
    setProperty("symbol", symbolName(m_risk));
    setAccessibleName(riskTitle(m_risk));
    setToolTip(isCompact() ? riskTitle(m_risk) : QString());
}

} // namespace dorvale
