#include "style/Typography.hpp"

#include <QApplication>
#include <QFontMetricsF>
#include <QWidget>

#include <array>
#include <cstddef>

namespace dorvale {

namespace {

struct StyleInfo {
    qreal scale;
    QFont::Weight weight;
};

// Sizes relative to the body text. The statistic figure and the page title keep the
// proportions of a 24 and a 26 point figure over 13 point body text.
constexpr std::array<StyleInfo, 11> styleInfo = {{
    {0.77, QFont::Normal},   // Caption2
    {0.77, QFont::Normal},   // Caption
    {0.85, QFont::Normal},   // Subheadline
    {0.92, QFont::Normal},   // Callout
    {1.0, QFont::Normal},    // Body
    {1.0, QFont::DemiBold},  // Headline
    {1.15, QFont::Normal},   // Title3
    {1.3, QFont::Normal},    // Title2
    {1.7, QFont::Normal},    // Title
    {1.85, QFont::DemiBold}, // StatValue
    {2.0, QFont::Bold},      // PageTitle
}};

QFont scaled(QFont font, qreal scale) {
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * scale);
    } else {
        font.setPixelSize(qRound(font.pixelSize() * scale));
    }
    return font;
}

} // namespace

QFont Typography::font(TextStyle style) {
    const StyleInfo& info = styleInfo[static_cast<std::size_t>(style)];
    QFont font = scaled(QApplication::font(), info.scale);
    font.setWeight(info.weight);
    return style == TextStyle::StatValue ? monospacedDigits(font) : font;
}

void Typography::apply(QWidget& widget, TextStyle style) {
    widget.setFont(font(style));
}

QFont Typography::semibold(QFont font) {
    font.setWeight(QFont::DemiBold);
    return font;
}

int Typography::textWidth(const QFont& font, const QString& text) {
    return qCeil(QFontMetricsF(font).horizontalAdvance(text));
}

QFont Typography::monospacedDigits(QFont font) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    font.setFeature(QFont::Tag("tnum"), 1);
#endif
    return font;
}

} // namespace dorvale
