#include "analysis/NodeContextMenu.hpp"

#include "analysis/NodePlan.hpp"
#include "analysis/PreviewBinding.hpp"
#include "app/AppState.hpp"
#include "app/PathText.hpp"
#include "platform/Paths.hpp"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>

#include <algorithm>

namespace dorvale {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("NodeContextMenu", text);
}

} // namespace

NodeContextMenu::NodeContextMenu(AppState& state, std::shared_ptr<const ScanResult> scan,
                                 std::vector<const FileNode*> nodes, PreviewBinding* preview)
    : m_state(&state)
    , m_scan(std::move(scan))
    , m_nodes(std::move(nodes))
    , m_preview(preview) {}

void NodeContextMenu::populate(QMenu& menu) const {
    if (m_nodes.empty()) {
        return;
    }
    const FileNode& first = *m_nodes.front();
    // Each action keeps its own copy of this menu, and with it the scan.
    const auto add = [&menu, self = *this](const QString& title, const char* name, auto act) {
        QAction* action = menu.addAction(title);
        action->setObjectName(QString::fromLatin1(name));
        QObject::connect(action, &QAction::triggered, &menu, [self, act] { act(self); });
        return action;
    };
    if (m_preview != nullptr && (!first.isDirectory() || first.isPackage())) {
        add(tr("Quick Look"), "quickLookAction", [](const NodeContextMenu& self) {
            if (self.m_preview != nullptr) {
                self.m_preview->set(PreviewItem::of(*self.m_nodes.front()));
            }
        });
    }
    add(tr("Show in Finder"), "revealAction", [](const NodeContextMenu& self) {
        self.m_state->services().workspace.reveal({self.m_nodes.front()->path()});
    });
    add(tr("Open"), "openAction", [](const NodeContextMenu& self) {
        self.m_state->services().workspace.open(self.m_nodes.front()->path());
    });
    if (first.isDirectory()) {
        add(tr("Open in Explorer"), "openInExplorerAction",
            [](const NodeContextMenu& self) { self.showInExplorer(); });
    }
    add(tr("Copy Path"), "copyPathAction", [](const NodeContextMenu& self) { self.copyPath(); });
    menu.addSeparator();
    add(tr("Exclude from Scans"), "excludeAction",
        [](const NodeContextMenu& self) { self.exclude(); });
    menu.addSeparator();
    const QString deleteTitle =
        m_nodes.size() == 1 ? tr("Delete…")
                            : tr("Delete %1 Items…").arg(static_cast<qulonglong>(m_nodes.size()));
    add(deleteTitle, "deleteAction", [](const NodeContextMenu& self) { self.deleteAll(); });
}

bool NodeContextMenu::scanIsCurrent() const {
    return m_state->scan() == m_scan;
}

void NodeContextMenu::showInExplorer() const {
    const FileNode* first = m_nodes.front();
    if (!scanIsCurrent() || first->deleted()) {
        return;
    }
    std::vector<const FileNode*> chain;
    for (const FileNode* node = first; node != nullptr; node = node->parent()) {
        chain.push_back(node);
    }
    std::reverse(chain.begin(), chain.end());
    m_state->setExplorerStack(std::move(chain));
    m_state->setSection(AppSection::Explorer);
}

void NodeContextMenu::copyPath() const {
    const std::string path = m_nodes.front()->path();
    const std::string_view matching = matchingPath(path, m_state->services().locations.dataVolume);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(pathText(matching));
}

void NodeContextMenu::exclude() const {
    const std::string path = m_nodes.front()->path();
    const std::string matching(matchingPath(path, m_state->services().locations.dataVolume));
    // A line feed would split the path into other exclusions.
    if (matching.find('\n') != std::string::npos) {
        return;
    }
    std::vector<std::string> paths = m_state->excludedPaths();
    paths.push_back(matching);
    m_state->setExcludedPaths(paths);
}

void NodeContextMenu::deleteAll() const {
    if (scanIsCurrent()) {
        requestNodeDeletion(*m_state, m_nodes);
    }
}

} // namespace dorvale
