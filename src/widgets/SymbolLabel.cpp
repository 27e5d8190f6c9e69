#include "widgets/SymbolLabel.hpp"

#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>

namespace dorvale {

namespace {

// The symbol stands about as tall as the text's capitals and descenders together.
constexpr qreal iconToLineHeight = 0.9;

} // namespace

SymbolLabel::SymbolLabel(const QString& symbol, const QString& title, LabelStyle style,
                         QWidget* parent)
    : QWidget(parent)
    , m_icon(new SymbolIcon(symbol, 16, this))
    , m_label(new ElidedLabel(title, this))
    , m_style(style) {
    setProperty("symbol", symbol);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::snug);
    layout->addWidget(m_icon, 0, Qt::AlignVCenter);
    layout->addWidget(m_label, 1, Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    fitIconToFont();
    updateForStyle();
}

void SymbolLabel::setTitle(const QString& title) {
    m_label->setText(title);
    updateForStyle();
}

QString SymbolLabel::title() const {
    return m_label->text();
}

void SymbolLabel::setLabelStyle(LabelStyle style) {
    m_style = style;
    updateForStyle();
}

void SymbolLabel::setIconColor(const QColor& color) {
    m_icon->setColor(color);
}

void SymbolLabel::setTone(Tone tone) {
    m_label->setTone(tone);
    m_icon->setTone(tone);
}

void SymbolLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        fitIconToFont();
    }
    QWidget::changeEvent(event);
}

void SymbolLabel::updateForStyle() {
    const bool iconOnly = m_style == LabelStyle::IconOnly;
    m_label->setVisible(!iconOnly);
    setToolTip(iconOnly ? m_label->text() : QString());
    setAccessibleName(iconOnly ? m_label->text() : QString());
}

void SymbolLabel::fitIconToFont() {
    m_icon->setIconSize(qRound(QFontMetrics(font()).height() * iconToLineHeight));
}

} // namespace dorvale
