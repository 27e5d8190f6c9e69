#include "widgets/SizeCell.hpp"

#include "app/ByteText.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/AccessibleRole.hpp"
#include "widgets/CellOption.hpp"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace dorvale {

namespace {

constexpr qreal minimumTextWidth = 64;
constexpr qreal spacing = Theme::Space::small;
constexpr qreal barHeight = 5;
constexpr qreal minimumFillWidth = 2;
constexpr qreal trackOpacity = 0.07;
constexpr int preferredBarWidth = 80;

qreal textWidth(const QFont& font, const QString& text) {
    return std::max<qreal>(minimumTextWidth, Typography::textWidth(font, text));
}

} // namespace

SizeCell::SizeCell(std::int64_t size, double fraction, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
    , m_fraction(fraction)
    , m_color(color) {
    setAccessibleRole(*this, QAccessible::StaticText);
    setFont(Typography::monospacedDigits(font()));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    describe();
}

void SizeCell::setValues(std::int64_t size, double fraction, const QColor& color) {
    m_size = size;
    m_fraction = fraction;
    m_color = color;
    describe();
    update();
}

QString SizeCell::sizeText() const {
    return byteText(m_size);
}

SizeCell::Geometry SizeCell::geometryFor(const QRectF& rect) const {
    return layout(rect, textWidth(font(), sizeText()), m_fraction);
}

double SizeCell::barFraction(double fraction) {
    return std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
}

SizeCell::Geometry SizeCell::layout(const QRectF& rect, qreal textWidth, double fraction) {
    Geometry geometry;
    geometry.text = QRectF(rect.left(), rect.top(), textWidth, rect.height());
    const qreal barLeft = rect.left() + textWidth + spacing;
    const qreal available = std::max<qreal>(0, rect.right() - barLeft);
    const qreal barTop = rect.top() + (rect.height() - barHeight) / 2;
    geometry.track = QRectF(barLeft, barTop, available, barHeight);
    const qreal filled = std::max(minimumFillWidth, available * barFraction(fraction));
    geometry.fill = QRectF(barLeft, barTop, filled, barHeight);
    return geometry;
}

void SizeCell::paint(QPainter& painter, const QStyleOptionViewItem& option, std::int64_t size,
                     double fraction, const QColor& color) {
    const QFont font = Typography::monospacedDigits(option.font);
    const QString text = byteText(size);
    const Geometry geometry = layout(QRectF(option.rect), textWidth(font, text), fraction);
    const QColor foreground = Theme::foreground(option, Tone::Primary);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    painter.setPen(foreground);
    painter.drawText(geometry.text, Qt::AlignRight | Qt::AlignVCenter, text);
    const qreal radius = barHeight / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::withOpacity(foreground, trackOpacity));
    painter.drawRoundedRect(geometry.track, radius, radius);
    painter.setBrush(Theme::gradient(color, geometry.fill));
    painter.drawRoundedRect(geometry.fill, radius, radius);
    painter.restore();
}

QSize SizeCell::sizeHint() const {
    const int text = qCeil(textWidth(font(), sizeText()));
    return {text + qRound(spacing) + preferredBarWidth, fontMetrics().height()};
}

QSize SizeCell::minimumSizeHint() const {
    const int text = qCeil(textWidth(font(), sizeText()));
    return {text + qRound(spacing + minimumFillWidth), fontMetrics().height()};
}

void SizeCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, cellOptionFor(*this), m_size, m_fraction, m_color);
}

void SizeCell::describe() {
    setAccessibleName(sizeText());
}

} // namespace dorvale
