#include "widgets/SelectionBar.hpp"

#include "app/ByteText.hpp"
#include "app/CountText.hpp"
#include "style/Theme.hpp"
#include "widgets/DestructiveButton.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/LinkButton.hpp"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>

namespace dorvale {

namespace {

// The bar's translucent fill over the list, and the hairline along its top edge.
constexpr qreal materialOpacity = 0.85;
constexpr qreal dividerOpacity = 0.12;
// An action title longer than this is cut, so the figures always keep their room.
constexpr int actionMaximumWidth = 320;

} // namespace

SelectionBar::SelectionBar(const QString& actionTitle, QWidget* parent)
    : QWidget(parent)
    , m_countLabel(new ElidedLabel)
    , m_sizeLabel(new ElidedLabel)
    , m_action(new DestructiveButton(actionTitle)) {
    setObjectName(QStringLiteral("selectionBar"));
    m_countLabel->setObjectName(QStringLiteral("selectionCount"));
    m_countLabel->setTextStyle(TextStyle::Callout, FontWeight::Semibold);
    m_countLabel->setElideMode(Qt::ElideNone);
    m_sizeLabel->setObjectName(QStringLiteral("selectionSize"));
    m_sizeLabel->setTextStyle(TextStyle::Callout, Digits::Tabular);
    m_sizeLabel->setTone(Tone::Secondary);
    m_sizeLabel->setElideMode(Qt::ElideNone);
    auto* deselect = new LinkButton(tr("Deselect"));
    deselect->setObjectName(QStringLiteral("deselectButton"));
    connect(deselect, &QPushButton::clicked, this, &SelectionBar::clearRequested);
    m_action->setObjectName(QStringLiteral("selectionAction"));
    m_action->setMaximumWidth(actionMaximumWidth);
    m_action->setToolTip(actionTitle);
    connect(m_action, &QPushButton::clicked, this, &SelectionBar::actionRequested);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(Theme::Space::large, Theme::Space::medium, Theme::Space::large,
                               Theme::Space::medium);
    layout->setSpacing(Theme::Space::medium);
    layout->addWidget(m_countLabel, 0, Qt::AlignVCenter);
    layout->addWidget(m_sizeLabel, 0, Qt::AlignVCenter);
    layout->addStretch();
    layout->addWidget(deselect, 0, Qt::AlignVCenter);
    layout->addWidget(m_action, 0, Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setSelection(0, 0);
}

void SelectionBar::setSelection(std::int64_t count, std::int64_t size) {
    m_count = count;
    showForCount();
    m_countLabel->setText(tr("%1 selected").arg(countText(count)));
    m_sizeLabel->setText(byteText(size));
}

// A bar with no parent yet is only ever hidden here, never shown: shown, it would become a
// window of its own. It takes its visibility once it joins its page.
void SelectionBar::showForCount() {
    if (parentWidget() != nullptr) {
        setVisible(m_count >= 1);
    } else if (m_count < 1) {
        hide();
    }
}

bool SelectionBar::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange) {
        showForCount();
    }
    return QWidget::event(event);
}

void SelectionBar::setActionTitle(const QString& title) {
    m_action->setText(title);
    m_action->setToolTip(title);
}

void SelectionBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(),
                     Theme::withOpacity(palette().color(QPalette::Window), materialOpacity));
    painter.fillRect(QRect(0, 0, width(), 1),
                     Theme::withOpacity(Theme::foreground(*this, Tone::Primary), dividerOpacity));
}

} // namespace dorvale
