#include "widgets/EmptyState.hpp"

#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QEvent>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int messageLines = 3;
// A symbol about as tall as 40 point type beside 13 point body text.
constexpr qreal iconToLineHeight = 2.6;

} // namespace

EmptyState::EmptyState(const QString& symbol, const QString& message, QWidget* parent)
    : QWidget(parent)
    , m_icon(new SymbolIcon(symbol, 40, this))
    , m_message(new ElidedLabel(message, this)) {
    setProperty("symbol", symbol);
    m_icon->setTone(Tone::Tertiary);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setTone(Tone::Secondary);
    m_message->setAlignment(Qt::AlignHCenter);
    m_message->setMaximumLines(messageLines);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(Theme::Space::small);
    layout->addStretch(1);
    layout->addWidget(m_icon, 0, Qt::AlignHCenter);
    layout->addWidget(m_message);
    layout->addStretch(1);
    fitIconToFont();
}

void EmptyState::setMessage(const QString& message) {
    m_message->setText(message);
}

QString EmptyState::message() const {
    return m_message->text();
}

void EmptyState::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        fitIconToFont();
    }
    QWidget::changeEvent(event);
}

void EmptyState::fitIconToFont() {
    m_icon->setIconSize(qRound(fontMetrics().height() * iconToLineHeight));
}

} // namespace dorvale
