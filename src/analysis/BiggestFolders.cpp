#include "analysis/BiggestFolders.hpp"

#include "analysis/CardRows.hpp"
#include "analysis/LargestFolders.hpp"
#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "style/FileIcon.hpp"
#include "widgets/Divider.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/RowButton.hpp"
#include "widgets/UsageBar.hpp"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int iconSize = 18;
constexpr qreal rowRadius = 6;

} // namespace

BiggestFolders::BiggestFolders(AppState& state, std::shared_ptr<const ScanResult> scan,
                               QWidget* parent)
    : Card(Theme::Space::large, parent)
    , m_state(state)
    , m_scan(std::move(scan)) {
    setObjectName(QStringLiteral("biggestFolders"));
    contentLayout()->setSpacing(Theme::Space::medium);
    contentLayout()->addWidget(rowText(tr("Largest folders"), TextStyle::Headline));
    if (m_scan != nullptr && m_scan->root != nullptr) {
        m_folders = largestFolders(*m_scan->root);
    }
    // The first folder is the largest, so its bar is full and the others are shares of it.
    const double scale = m_folders.empty() ? 1.0 : static_cast<double>(m_folders[0]->size());
    for (const FileNode* folder : m_folders) {
        RowButton* row = makeRow(*folder, static_cast<double>(folder->size()) / scale);
        m_rows.push_back(row);
        contentLayout()->addWidget(row);
        contentLayout()->addWidget(makeDivider());
    }
    contentLayout()->addStretch();
}

void BiggestFolders::open(const FileNode& folder) {
    if (folder.deleted()) {
        return;
    }
    // The state takes the trail only while this card's scan is still the one it shows.
    m_state.perform(
        RecommendationActions::OpenExplorer{.scan = m_scan, .stack = folderChain(folder)});
}

RowButton* BiggestFolders::makeRow(const FileNode& folder, double fraction) {
    const std::string path = folder.path();
    const QString name = pathText(folder.name());
    const QString size = byteText(folder.size());
    auto* row = new RowButton({}, 0, rowRadius);
    row->setObjectName(QStringLiteral("folderRow"));
    row->setAccessibleName(tr("%1, %2").arg(name, size));
    const QString shown = shownPath(path, m_state.services().locations);
    row->setAccessibleDescription(shown);

    auto* top = new QHBoxLayout;
    top->setSpacing(Theme::Space::small);
    top->addWidget(new FileIcon(path, FileIcon::Kind::Folder, iconSize));
    top->addWidget(rowText(name, TextStyle::Body), 1);
    top->addWidget(rowFigure(size, TextStyle::Body, FontWeight::Semibold));
    ElidedLabel* where = rowText(shown, TextStyle::Caption, FontWeight::StyleDefault,
                                 Digits::Proportional, Tone::Secondary);
    where->setElideMode(Qt::ElideMiddle);
    auto* bar = new UsageBar;
    bar->setFraction(fraction);
    bar->setTint(Theme::bucketColor(folder.bucket()));

    auto* label = new QVBoxLayout;
    label->setSpacing(Theme::Space::tight);
    label->addLayout(top);
    label->addWidget(where);
    label->addWidget(bar);
    row->contentLayout()->addLayout(label);
    const FileNode* node = &folder;
    connect(row, &RowButton::clicked, this, [this, node] { open(*node); });
    return row;
}

} // namespace dorvale
