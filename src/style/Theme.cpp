#include "style/Theme.hpp"

#include <QPalette>
#include <QStyleOptionViewItem>
#include <QWidget>

namespace dorvale {

namespace {

constexpr qreal secondaryOpacity = 0.55;
constexpr qreal tertiaryOpacity = 0.3;
constexpr int gradientLighter = 112;
constexpr int gradientDarker = 106;

QColor toned(const QColor& text, Tone tone) {
    switch (tone) {
    case Tone::Primary:
        return text;
    case Tone::Secondary:
        return Theme::withOpacity(text, secondaryOpacity);
    case Tone::Tertiary:
        return Theme::withOpacity(text, tertiaryOpacity);
    }
    return text;
}

bool isSelected(const QStyleOptionViewItem& option) {
    return option.state.testFlag(QStyle::State_Selected);
}

// The palette group a view paints a cell in, as Qt's own item delegate chooses it.
QPalette::ColorGroup groupOf(const QStyleOptionViewItem& option) {
    if (!option.state.testFlag(QStyle::State_Enabled)) {
        return QPalette::Disabled;
    }
    return option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
}

} // namespace

QColor toQColor(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QColor Theme::blue() {
    return toQColor({91, 140, 255});
}

QColor Theme::teal() {
    return toQColor({52, 195, 160});
}

QColor Theme::amber() {
    return toQColor({245, 184, 61});
}

QColor Theme::pink() {
    return toQColor({255, 107, 138});
}

QColor Theme::lavender() {
    return toQColor({181, 123, 255});
}

QColor Theme::tangerine() {
    return toQColor({255, 159, 67});
}

QColor Theme::cyan() {
    return toQColor({61, 214, 245});
}

QColor Theme::slate() {
    return toQColor({142, 154, 175});
}

QColor Theme::lime() {
    return toQColor({123, 224, 123});
}

QColor Theme::tan() {
    return toQColor({201, 162, 126});
}

QColor Theme::graphite() {
    return toQColor({74, 80, 104});
}

QColor Theme::silver() {
    return toQColor({160, 164, 176});
}

QColor Theme::safe() {
    return toQColor({48, 194, 107});
}

QColor Theme::caution() {
    return toQColor({242, 163, 58});
}

QColor Theme::danger() {
    return toQColor({229, 72, 77});
}

QColor Theme::accent() {
    return toQColor({110, 91, 255});
}

QColor Theme::accentSecondary() {
    return toQColor({47, 213, 201});
}

QColor Theme::riskColor(Risk risk) {
    switch (risk) {
    case Risk::Safe:
        return safe();
    case Risk::Review:
        return caution();
    case Risk::Protected:
        return danger();
    }
    return danger();
}

QColor Theme::kindColor(FileKind kind) {
    return toQColor(color(kind));
}

QColor Theme::bucketColor(StorageBucket bucket) {
    return toQColor(color(bucket));
}

QColor Theme::onFill() {
    return QColor(Qt::white);
}

QColor Theme::shadow() {
    return QColor(Qt::black);
}

QLinearGradient Theme::accentGradient(const QRectF& rect) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
    gradient.setColorAt(0, accent());
    gradient.setColorAt(1, accentSecondary());
    return gradient;
}

QLinearGradient Theme::gradient(const QColor& color, const QRectF& rect) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, color.lighter(gradientLighter));
    gradient.setColorAt(1, color.darker(gradientDarker));
    return gradient;
}

QColor Theme::foreground(const QWidget& widget, Tone tone) {
    const QPalette::ColorGroup group = widget.isEnabled() ? QPalette::Active : QPalette::Disabled;
    return toned(widget.palette().color(group, QPalette::WindowText), tone);
}

QColor Theme::foreground(const QStyleOptionViewItem& option, Tone tone) {
    if (isSelected(option)) {
        return toned(option.palette.color(groupOf(option), QPalette::HighlightedText), tone);
    }
    if (option.widget != nullptr) {
        return foreground(*option.widget, tone);
    }
    return toned(option.palette.color(groupOf(option), QPalette::Text), tone);
}

QColor Theme::cellColor(const QStyleOptionViewItem& option, const QColor& color) {
    return isSelected(option) ? option.palette.color(groupOf(option), QPalette::HighlightedText)
                              : color;
}

QColor Theme::withOpacity(QColor color, qreal opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

} // namespace dorvale
