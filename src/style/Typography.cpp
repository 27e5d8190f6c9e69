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

// Sizes relative to the body text. The statistic figure, the page title and the display
// styles keep the proportions of 24, 26, 28, 38 and 54 point figures over 13 point body text.
constexpr std::array<StyleInfo, 14> styleInfo = {{
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
    {2.15, QFont::Bold},     // DisplaySmall
    {2.92, QFont::Bold},     // DisplayMedium
    {4.15, QFont::Bold},     // DisplayLarge
}};

QFont scaled(QFont font, qreal scale) {
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * scale);
    } else {
        font.setPixelSize(qRound(font.pixelSize() * scale));
    }
    return font;
}

QFont::Weight weightOf(FontWeight weight, QFont::Weight styleWeight) {
    switch (weight) {
    case FontWeight::StyleDefault:
        return styleWeight;
    case FontWeight::Medium:
        return QFont::Medium;
    case FontWeight::Semibold:
        return QFont::DemiBold;
    case FontWeight::Bold:
        return QFont::Bold;
    }
    return styleWeight;
}

} // namespace

QFont Typography::font(TextStyle style, FontWeight weight, Digits digits) {
    const StyleInfo& info = styleInfo[static_cast<std::size_t>(style)];
    QFont font = scaled(QApplication::font(), info.scale);
    font.setWeight(weightOf(weight, info.weight));
    const bool tabular = digits == Digits::Tabular || style == TextStyle::StatValue;
    return tabular ? monospacedDigits(font) : font;
}

QFont Typography::font(TextStyle style, Digits digits) {
    return font(style, FontWeight::StyleDefault, digits);
}

void Typography::apply(QWidget& widget, TextStyle style, FontWeight weight, Digits digits) {
    widget.setFont(font(style, weight, digits));
}

void Typography::apply(QWidget& widget, TextStyle style, Digits digits) {
    apply(widget, style, FontWeight::StyleDefault, digits);
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
