#include "cleanup/GroupCard.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "cleanup/JunkGroups.hpp"
#include "platform/SaturatingSum.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int padding = 16;
constexpr int rowSpacing = 10;
constexpr int titleToBadge = 6;
constexpr int explanationLines = 2;
constexpr int headerSymbolSize = 18;

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

ElidedLabel* sizeLabel(std::int64_t bytes, TextStyle style, Tone tone) {
    auto* label = new ElidedLabel(byteText(bytes));
    label->setTextStyle(style, Digits::Tabular);
    label->setTone(tone);
    label->setElideMode(Qt::ElideNone);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

GroupCard::GroupCard(AppState& state, JunkGroup group,
                     const std::vector<const JunkFinding*>& findings, QWidget* parent)
    : Card(padding, parent)
    , m_state(state)
    , m_group(group) {
    setObjectName(QStringLiteral("groupCard"));
    setAccessibleName(junkGroupTitle(group));
    std::int64_t total = 0;
    for (const JunkFinding* finding : findings) {
        total = saturatingSum(total, finding->totalSize());
    }
    QVBoxLayout* layout = contentLayout();
    layout->setSpacing(rowSpacing);
    layout->addWidget(makeHeader(total));
    for (const JunkFinding* finding : findings) {
        layout->addWidget(makeRow(*finding));
    }
    showSelection();
    connect(&m_state, &AppState::smartSelectionChanged, this, &GroupCard::showSelection);
}

QCheckBox* GroupCard::checkBox(const std::string& ruleId) const {
    const auto box = m_boxes.find(ruleId);
    return box == m_boxes.end() ? nullptr : box->second;
}

QWidget* GroupCard::makeHeader(std::int64_t total) const {
    auto* symbol = new SymbolIcon(junkGroupSymbol(m_group), headerSymbolSize);
    symbol->setAccentGradient(true);
    auto* title = new ElidedLabel(junkGroupTitle(m_group));
    title->setTextStyle(TextStyle::Headline);
    auto* size = sizeLabel(total, TextStyle::Headline, Tone::Primary);
    size->setObjectName(QStringLiteral("groupTotal"));

    auto* header = new QWidget;
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::small);
    layout->addWidget(symbol);
    layout->addWidget(title, 1);
    layout->addWidget(size);
    return header;
}

QWidget* GroupCard::makeRow(const JunkFinding& finding) {
    const JunkRule& rule = finding.rule;
    auto* box = new QCheckBox(text(rule.title));
    box->setObjectName(QStringLiteral("ruleCheckBox"));
    box->setAccessibleDescription(text(rule.explanation));
    m_boxes.emplace(rule.id, box);
    connect(box, &QCheckBox::toggled, this,
            [this, id = rule.id](bool chosen) { choose(id, chosen); });

    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(titleToBadge);
    titleRow->addWidget(box);
    if (rule.risk != Risk::Safe) {
        auto* badge = new RiskBadge(rule.risk, BadgeForm::Compact);
        badge->setObjectName(QStringLiteral("ruleRiskBadge"));
        titleRow->addWidget(badge);
    }
    titleRow->addStretch();

    auto* explanation = new ElidedLabel(text(rule.explanation));
    explanation->setTextStyle(TextStyle::Caption);
    explanation->setTone(Tone::Secondary);
    explanation->setMaximumLines(explanationLines);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addLayout(titleRow);
    texts->addWidget(explanation);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::small);
    layout->addLayout(texts, 1);
    layout->addWidget(sizeLabel(finding.totalSize(), TextStyle::Body, Tone::Secondary), 0,
                      Qt::AlignTop);
    return row;
}

void GroupCard::choose(const std::string& ruleId, bool chosen) {
    std::set<std::string> selection = m_state.smartSelection();
    if (chosen) {
        selection.insert(ruleId);
    } else {
        selection.erase(ruleId);
    }
    m_state.setSmartSelection(std::move(selection));
}

void GroupCard::showSelection() {
    for (const auto& [id, box] : m_boxes) {
        const QSignalBlocker quiet(box);
        box->setChecked(m_state.smartSelection().contains(id));
    }
}

} // namespace dorvale
