#include "cleanup/Promise.hpp"

#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/SymbolLabel.hpp"

#include <QHBoxLayout>
#include <QPainter>

namespace dorvale {

namespace {

constexpr int horizontalPadding = 12;
constexpr int verticalPadding = 7;
constexpr qreal fillOpacity = 0.10;

} // namespace

Promise::Promise(const QString& symbol, const QString& title, const QColor& tint, QWidget* parent)
    : QWidget(parent)
    , m_tint(tint)
    , m_title(title) {
    setObjectName(QStringLiteral("promise"));
    auto* label = new SymbolLabel(symbol, title);
    Typography::apply(*label, TextStyle::Callout);
    label->setTone(Tone::Secondary);
    label->setIconColor(tint);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(horizontalPadding, verticalPadding, horizontalPadding,
                               verticalPadding);
    layout->addWidget(label);
}

QString Promise::title() const {
    return m_title;
}

void Promise::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::withOpacity(m_tint, fillOpacity));
    const QRectF capsule(rect());
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
}

} // namespace dorvale
