#include "widgets/StatTile.hpp"

#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/SymbolLabel.hpp"

#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int captionLines = 2;

} // namespace

StatTile::StatTile(const QString& title, const QString& value,
                   const std::optional<QString>& caption, const QString& symbol, const QColor& tint,
                   QWidget* parent)
    : Card(Theme::Space::large, parent)
    , m_header(new SymbolLabel(symbol, title, LabelStyle::TitleAndIcon, this))
    , m_value(new ElidedLabel(value, this)) {
    setProperty("symbol", symbol);
    m_header->setObjectName(QStringLiteral("title"));
    Typography::apply(*m_header, TextStyle::Subheadline);
    m_header->setTone(Tone::Secondary);
    m_header->setIconColor(tint);
    m_value->setObjectName(QStringLiteral("value"));
    m_value->setTextStyle(TextStyle::StatValue);
    m_value->setElideMode(Qt::ElideNone);
    contentLayout()->setSpacing(Theme::Space::small);
    contentLayout()->addWidget(m_header);
    contentLayout()->addWidget(m_value);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCaption(caption);
}

void StatTile::setValue(const QString& value) {
    m_value->setText(value);
    describe();
}

QString StatTile::value() const {
    return m_value->text();
}

void StatTile::setCaption(const std::optional<QString>& caption) {
    if (!caption) {
        delete m_caption;
        m_caption = nullptr;
    } else if (m_caption == nullptr) {
        m_caption = new ElidedLabel(*caption, this);
        m_caption->setObjectName(QStringLiteral("caption"));
        m_caption->setTextStyle(TextStyle::Caption);
        m_caption->setTone(Tone::Secondary);
        m_caption->setMaximumLines(captionLines);
        contentLayout()->addWidget(m_caption);
    } else {
        m_caption->setText(*caption);
    }
    describe();
}

std::optional<QString> StatTile::caption() const {
    return m_caption != nullptr ? std::optional(m_caption->text()) : std::nullopt;
}

QString StatTile::title() const {
    return m_header->title();
}

// Read as one sentence by assistive technology: "Free: 120 GB, Available right now".
void StatTile::describe() {
    QString text = tr("%1: %2").arg(title(), value());
    if (m_caption != nullptr) {
        text = tr("%1, %2").arg(text, m_caption->text());
    }
    setAccessibleName(text);
}

} // namespace dorvale
