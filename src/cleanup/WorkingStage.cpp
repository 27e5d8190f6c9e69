#include "cleanup/WorkingStage.hpp"

#include "style/Theme.hpp"
#include "widgets/ScanningRing.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QGridLayout>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int spacing = 22;
constexpr int sparkleSize = 40;

WrappingLabel* centredLine(const QString& text) {
    auto* label = new WrappingLabel(text);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

} // namespace

WorkingStage::WorkingStage(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent)
    , m_title(centredLine(title))
    , m_subtitle(centredLine(subtitle)) {
    setObjectName(QStringLiteral("workingStage"));
    auto* ring = new ScanningRing({}, {});
    ring->setAccessibleName(title);
    auto* sparkle = new SymbolIcon(QStringLiteral("sparkles"), sparkleSize);
    sparkle->setAccentGradient(true);
    auto* emblem = new QGridLayout;
    emblem->addWidget(ring, 0, 0, Qt::AlignCenter);
    emblem->addWidget(sparkle, 0, 0, Qt::AlignCenter);

    m_title->setObjectName(QStringLiteral("workingTitle"));
    m_title->setTextStyle(TextStyle::Title, FontWeight::Bold);
    m_subtitle->setObjectName(QStringLiteral("workingSubtitle"));
    m_subtitle->setTone(Tone::Secondary);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addLayout(emblem);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
}

QString WorkingStage::title() const {
    return m_title->text();
}

QString WorkingStage::subtitle() const {
    return m_subtitle->text();
}

} // namespace dorvale
