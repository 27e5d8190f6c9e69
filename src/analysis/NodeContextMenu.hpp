#pragma once

#include "model/FileNode.hpp"
#include "model/ScanResult.hpp"

#include <QPointer>

#include <memory>
#include <vector>

class QMenu;

namespace dorvale {

class AppState;
class PreviewBinding;

/// The menu of rows of file nodes: preview, reveal, open, copy the path, show in the
/// explorer, exclude from scans, delete. Every entry but the delete entry acts on the first
/// node; the delete entry plans all of them. The entries keep the scan the nodes belong to,
/// so they stay valid however late the menu is used; those that change the state (showing
/// in the explorer, deleting) do nothing once another scan has replaced it.
class NodeContextMenu {
public:
    /// `nodes` in the caller's row order, all of `scan`; `preview` is the page's preview, or
    /// null for a page without one (then there is no "Quick Look").
    NodeContextMenu(AppState& state, std::shared_ptr<const ScanResult> scan,
                    std::vector<const FileNode*> nodes, PreviewBinding* preview = nullptr);

    /// Adds the entries to `menu`, each a named action; adds nothing for no nodes.
    void populate(QMenu& menu) const;

private:
    [[nodiscard]] bool scanIsCurrent() const;
    void showInExplorer() const;
    void copyPath() const;
    void exclude() const;
    void deleteAll() const;

    AppState* m_state;
    std::shared_ptr<const ScanResult> m_scan;
    std::vector<const FileNode*> m_nodes;
    QPointer<PreviewBinding> m_preview;
};

} // namespace dorvale
