#pragma once

#include "analysis/PreviewPanel.hpp"
#include "model/FileNode.hpp"
#include "model/ScanResult.hpp"
#include "widgets/KeySelection.hpp"

#include <QWidget>

#include <memory>
#include <vector>

namespace dorvale {

class AppState;
class FilesModel;
class ListTable;
class SelectionBar;

/// The table of file nodes under the large-files and file-type screens: the screen hands it
/// its filtered list; the table sorts it (largest first to begin with), keeps its own
/// selection by node, reveals a row in the file manager (double-click, Return), previews the
/// first selected row (Space), offers the node menu, and deletes the selection through the
/// selection bar and the confirmation sheet. Keeps the scan of its nodes.
class FilesTable : public QWidget {
    Q_OBJECT

public:
    FilesTable(AppState& state, const PreviewPresenter& presenter, QWidget* parent = nullptr);

    /// Shows `nodes` of `scan`. A list that differs from the shown one is sorted again in the
    /// current order, and the selection keeps only the nodes still listed.
    void setNodes(std::shared_ptr<const ScanResult> scan, std::vector<const FileNode*> nodes);

    [[nodiscard]] FilesModel& model() const { return *m_model; }
    [[nodiscard]] ListTable& table() const { return *m_table; }
    [[nodiscard]] PreviewBinding& preview() { return m_preview; }
    /// The selected rows, in row order.
    [[nodiscard]] std::vector<const FileNode*> selectedNodes() const;
    /// Shows the first of `nodes` in row order in the file manager.
    void reveal(const std::vector<const FileNode*>& nodes);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Selection = KeySelection<const FileNode*, const FileNode*>;

    void makeTable();
    void pruneSelection();
    void updateSelectionBar();

    AppState& m_state;
    std::shared_ptr<const ScanResult> m_scan;
    PreviewBinding m_preview;
    FilesModel* m_model;
    ListTable* m_table;
    // Owned by the table's selection model.
    Selection* m_selection = nullptr;
    SelectionBar* m_selectionBar;
};

} // namespace dorvale
