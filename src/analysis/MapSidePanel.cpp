#include "analysis/MapSidePanel.hpp"

#include "analysis/SunburstView.hpp"
#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "style/FileIcon.hpp"
#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/LegendDot.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int panelWidth = 280;
constexpr int focusIconSide = 36;
constexpr int dotSide = 8;
constexpr std::size_t listed = 10;

ElidedLabel* label(const QString& text, TextStyle style, Tone tone = Tone::Primary) {
    auto* label = new ElidedLabel(text);
    label->setTextStyle(style);
    label->setTone(tone);
    return label;
}

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

MapSidePanel::MapSidePanel(AppState& state, std::shared_ptr<const ScanResult> scan,
                           const FileNode* current, QWidget* parent)
    : Card(Theme::Space::large, parent)
    , m_state(state)
    , m_scan(std::move(scan))
    , m_current(current) {
    setObjectName(QStringLiteral("mapSidePanel"));
    setFixedWidth(panelWidth);
    rebuild();
}

void MapSidePanel::setCurrent(const FileNode* current) {
    m_current = current;
    m_focus = nullptr;
    rebuild();
}

void MapSidePanel::setFocusNode(const FileNode* focus) {
    if (focus == m_focus) {
        return;
    }
    m_focus = focus;
    rebuild();
}

std::vector<const FileNode*> MapSidePanel::largestItems(const FileNode& folder) {
    std::vector<const FileNode*> items;
    for (const FileNode* child : folder.children()) {
        if (!child->deleted()) {
            items.push_back(child);
        }
    }
    sortBySizeDescending(items);
    std::erase_if(items, [](const FileNode* node) { return node->size() < 1; });
    if (items.size() > listed) {
        items.resize(listed);
    }
    return items;
}

QSize MapSidePanel::sizeHint() const {
    return {panelWidth, Card::sizeHint().height()};
}

void MapSidePanel::rebuild() {
    delete m_content;
    m_content = new QWidget;
    auto* layout = new QVBoxLayout(m_content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::medium);
    contentLayout()->addWidget(m_content);
    if (m_focus != nullptr && !m_focus->deleted()) {
        showFocus(*m_focus);
    } else {
        showLargest();
    }
    layout->addStretch();
    // Shown now, not once the event loop comes round: the panel follows the pointer.
    m_content->show();
}

void MapSidePanel::showFocus(const FileNode& node) {
    auto* layout = static_cast<QVBoxLayout*>(m_content->layout());
    const std::string path = node.path();
    auto* head = new QHBoxLayout;
    head->setSpacing(10);
    const auto kind = node.isDirectory() ? FileIcon::Kind::Folder : FileIcon::Kind::File;
    head->addWidget(new FileIcon(path, kind, focusIconSide), 0, Qt::AlignVCenter);
    auto* names = new QVBoxLayout;
    names->setSpacing(Theme::Space::hairline);
    ElidedLabel* name = label(pathText(node.name()), TextStyle::Headline);
    name->setObjectName(QStringLiteral("focusName"));
    name->setMaximumLines(2);
    names->addWidget(name);
    ElidedLabel* bucket = label(qtext(node.bucketTitle()), TextStyle::Caption, Tone::Secondary);
    bucket->setObjectName(QStringLiteral("focusBucket"));
    names->addWidget(bucket);
    head->addLayout(names, 1);
    layout->addLayout(head);
    ElidedLabel* size = label(byteText(node.size()), TextStyle::StatValue);
    size->setObjectName(QStringLiteral("focusSize"));
    size->setTextStyle(TextStyle::StatValue, FontWeight::Bold, Digits::Tabular);
    layout->addWidget(size);
    ElidedLabel* shown =
        label(shownPath(path, m_state.services().locations), TextStyle::Caption, Tone::Secondary);
    shown->setObjectName(QStringLiteral("focusPath"));
    shown->setElideMode(Qt::ElideMiddle);
    layout->addWidget(shown);
    const SafetyVerdict& verdict = verdictFor(node);
    auto* badge = new RiskBadge(verdict.risk);
    badge->setObjectName(QStringLiteral("focusRisk"));
    layout->addWidget(badge, 0, Qt::AlignLeft);
    auto* reason = new WrappingLabel(qtext(verdict.reason));
    reason->setObjectName(QStringLiteral("focusReason"));
    reason->setTextStyle(TextStyle::Caption);
    reason->setTone(Tone::Secondary);
    layout->addWidget(reason);
}

void MapSidePanel::showLargest() {
    auto* layout = static_cast<QVBoxLayout*>(m_content->layout());
    layout->addWidget(label(tr("Largest items"), TextStyle::Headline));
    const std::vector<const FileNode*> items =
        m_current != nullptr ? largestItems(*m_current) : std::vector<const FileNode*>{};
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* row = new QWidget;
        row->setObjectName(QStringLiteral("largestItem%1").arg(i));
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(Theme::Space::small);
        auto* dot = new LegendDot(SunburstView::palette()[i % 12]);
        dot->setFixedSize(dotSide, dotSide);
        line->addWidget(dot);
        line->addWidget(label(pathText(items[i]->name()), TextStyle::Callout), 1);
        ElidedLabel* size = label(byteText(items[i]->size()), TextStyle::Callout, Tone::Secondary);
        size->setTextStyle(TextStyle::Callout, Digits::Tabular);
        size->setElideMode(Qt::ElideNone);
        line->addWidget(size);
        layout->addWidget(row);
    }
    auto* hint = new WrappingLabel(
        tr("Hover to inspect, click a ring to open a folder, click the centre to go up."));
    hint->setObjectName(QStringLiteral("mapHint"));
    hint->setTextStyle(TextStyle::Caption);
    hint->setTone(Tone::Secondary);
    layout->addSpacing(Theme::Space::snug);
    layout->addWidget(hint);
}

const SafetyVerdict& MapSidePanel::verdictFor(const FileNode& node) {
    auto found = m_verdicts.find(&node);
    if (found == m_verdicts.end()) {
        found = m_verdicts.emplace(&node, m_state.services().safety.verdict(node.path())).first;
    }
    return found->second;
}

} // namespace dorvale
