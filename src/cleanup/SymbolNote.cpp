#include "cleanup/SymbolNote.hpp"

#include "style/Theme.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QFontMetrics>
#include <QHBoxLayout>

namespace dorvale {

SymbolNote::SymbolNote(const QString& symbol, const QString& text, TextStyle style, QWidget* parent)
    : QWidget(parent)
    , m_text(new WrappingLabel(text)) {
    setProperty("symbol", symbol);
    setAccessibleName(text);
    m_text->setTextStyle(style);
    m_text->setTone(Tone::Secondary);
    auto* icon = new SymbolIcon(symbol, QFontMetrics(m_text->font()).ascent());
    icon->setTone(Tone::Secondary);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::snug);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(m_text, 1);
}

QString SymbolNote::text() const {
    return m_text->text();
}

} // namespace dorvale
