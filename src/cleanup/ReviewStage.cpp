#include "cleanup/ReviewStage.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "cleanup/GroupCard.hpp"
#include "cleanup/JunkGroups.hpp"
#include "widgets/AdaptiveGrid.hpp"
#include "widgets/Centred.hpp"
#include "widgets/DefaultKey.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/FittedScrollArea.hpp"
#include "widgets/GradientLabel.hpp"
#include "widgets/PrimaryButton.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int spacing = 22;
constexpr int headerSpacing = 4;
constexpr int cardColumnWidth = 300;
constexpr int cardSpacing = 14;
constexpr int gridPadding = 4;
constexpr int bodyWidth = 900;
constexpr int bodyHeight = 360;
constexpr int buttonSpacing = 14;

// One line, so the page's height never depends on its width and the cards' area is what
// gives way on a low window.
ElidedLabel* centredLine(const QString& text) {
    auto* label = new ElidedLabel(text);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setTone(Tone::Secondary);
    return label;
}

} // namespace

ReviewStage::ReviewStage(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state) {
    setObjectName(QStringLiteral("reviewStage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(makeHeader());
    layout->addWidget(makeBody());
    layout->addWidget(makeButtons(), 0, Qt::AlignHCenter);
    showJunk();
    connect(&m_state, &AppState::junkChanged, this, &ReviewStage::showJunk);
    connect(&m_state, &AppState::smartSelectionChanged, this, &ReviewStage::showSelection);
}

QWidget* ReviewStage::makeHeader() {
    m_selected = new GradientLabel;
    m_selected->setObjectName(QStringLiteral("selectedBytes"));
    Typography::apply(*m_selected, TextStyle::DisplayLarge, FontWeight::Bold, Digits::Tabular);
    auto* caption = centredLine(tr("ready to clean"));
    caption->setTextStyle(TextStyle::Title3);

    auto* header = new QWidget;
    auto* layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(headerSpacing);
    layout->addWidget(m_selected);
    layout->addWidget(caption);
    return header;
}

QWidget* ReviewStage::makeBody() {
    m_nothingFound = centredLine(tr("Your Mac is clean. No junk found."));
    m_nothingFound->setObjectName(QStringLiteral("nothingFound"));

    m_cards = new AdaptiveGrid(cardColumnWidth, cardSpacing);
    m_cards->setObjectName(QStringLiteral("groupCards"));
    m_cards->setContentsMargins(gridPadding, gridPadding, gridPadding, gridPadding);
    m_scroll = new FittedScrollArea(m_cards);
    m_scroll->setObjectName(QStringLiteral("groupScroll"));
    m_scroll->setMaximumHeight(bodyHeight);

    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_nothingFound);
    layout->addWidget(centredAtMost(m_scroll, bodyWidth));
    return body;
}

QWidget* ReviewStage::makeButtons() {
    auto* startOver = new QPushButton(tr("Start Over"));
    startOver->setObjectName(QStringLiteral("startOverButton"));
    connect(startOver, &QPushButton::clicked, this, [this] { m_state.returnToSmartStart(); });
    auto* details = new QPushButton(tr("See Details"));
    details->setObjectName(QStringLiteral("seeDetailsButton"));
    connect(details, &QPushButton::clicked, this, [this] { m_state.setSection(AppSection::Junk); });
    m_clean = new PrimaryButton({}, ButtonSize::Large);
    m_clean->setObjectName(QStringLiteral("cleanButton"));
    m_clean->setSymbol(QStringLiteral("sparkles"));
    connect(m_clean, &QPushButton::clicked, this, [this] { m_state.cleanJunk(); });
    setDefaultKey(*this, *m_clean);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(buttonSpacing);
    layout->addWidget(startOver);
    layout->addWidget(details);
    layout->addWidget(m_clean);
    return row;
}

void ReviewStage::showJunk() {
    const std::vector<JunkFinding>& junk = m_state.junk();
    const bool found = holdsJunk(junk);
    m_nothingFound->setVisible(!found);
    // The scroll area's centred row goes with it.
    m_scroll->parentWidget()->setVisible(found);
    m_cards->clear();
    for (const JunkGroupFindings& group : groupedJunk(junk)) {
        m_cards->addCell(new GroupCard(m_state, group.group, group.findings));
    }
    showSelection();
}

void ReviewStage::showSelection() {
    const std::int64_t selected = m_state.smartSelectionSize();
    m_selected->setText(byteText(selected));
    m_clean->setText(tr("Clean %1").arg(byteText(selected)));
    m_clean->setEnabled(selected > 0);
}

} // namespace dorvale
