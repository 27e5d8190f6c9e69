#pragma once

#include "analysis/ExplorerMode.hpp"
#include "analysis/PreviewPanel.hpp"
#include "model/FileNode.hpp"
#include "model/ScanResult.hpp"
#include "widgets/KeySelection.hpp"

#include <QWidget>

#include <memory>
#include <vector>

class QButtonGroup;
class QLabel;
class QStackedWidget;

namespace dorvale {

class AppState;
class Breadcrumbs;
class ElidedLabel;
class ExplorerModel;
class ListTable;
class MapSidePanel;
class NameRanks;
class SegmentedBar;
class SelectionBar;
class SunburstView;

/// The explorer of one scan: the folder at the end of `AppState::explorerStack`, with its
/// path bar, mode picker, title, size and file count, and its children as a sortable list
/// (with the composition bar of its twelve largest children above) or as a map beside its
/// side panel. The list opens folders (double-click, Return), reveals files and packages,
/// previews the selected row (Space), offers the node menu, and deletes the selection
/// through the confirmation sheet. Selection, sort order, preview and map focus are its own
/// and start empty; the folder shown lives in the state. Keeps the scan it shows.
class ExplorerView : public QWidget {
    Q_OBJECT

public:
    ExplorerView(AppState& state, std::shared_ptr<const ScanResult> scan,
                 const PreviewPresenter& presenter, QWidget* parent = nullptr);

    /// The explorer's page: the scan prompt until there is a scan, then an `ExplorerView`
    /// of each result. `presenter` shows the preview (the preview window by default).
    [[nodiscard]] static QWidget* makePage(AppState& state,
                                           PreviewPresenter presenter = previewPanelPresenter());

    /// The folder shown: the last of the explorer stack.
    [[nodiscard]] const FileNode* currentFolder() const;
    [[nodiscard]] ExplorerMode mode() const { return m_mode; }
    void setMode(ExplorerMode mode);
    [[nodiscard]] const FileNode* mapFocus() const { return m_mapFocus; }
    [[nodiscard]] PreviewBinding& preview() { return m_preview; }
    /// The selected rows, in row order.
    [[nodiscard]] std::vector<const FileNode*> selectedNodes() const;

    /// Opens `folder`: clears the selection and the map focus and shows it below the current one.
    void changeFolder(const FileNode* folder);
    /// Shows the folder above, unless the current one is the top; clears the map focus.
    void goBack();
    /// Asks to delete `nodes` (in row order) through the confirmation sheet.
    void deleteSelection(const std::vector<const FileNode*>& nodes);
    /// The list's primary action on `nodes`: opens the first if it is a folder, else shows it
    /// in the file manager.
    void openOrReveal(const std::vector<const FileNode*>& nodes);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Selection = KeySelection<const FileNode*, const FileNode*>;

    [[nodiscard]] QWidget* makeHeader();
    [[nodiscard]] QWidget* makeList();
    [[nodiscard]] QWidget* makeMap();
    void showFolder();
    void refresh();
    void updateHeader();
    void updateSelectionBar();

    AppState& m_state;
    std::shared_ptr<const ScanResult> m_scan;
    ExplorerMode m_mode;
    const FileNode* m_mapFocus = nullptr;
    PreviewBinding m_preview;
    ExplorerModel* m_model;
    ListTable* m_table = nullptr;
    // Owned by the table's selection model.
    Selection* m_selection = nullptr;
    Breadcrumbs* m_breadcrumbs = nullptr;
    QButtonGroup* m_modes = nullptr;
    ElidedLabel* m_title = nullptr;
    ElidedLabel* m_size = nullptr;
    ElidedLabel* m_files = nullptr;
    SegmentedBar* m_bar = nullptr;
    QStackedWidget* m_content = nullptr;
    ElidedLabel* m_smallFiles = nullptr;
    SunburstView* m_sunburst = nullptr;
    MapSidePanel* m_sidePanel = nullptr;
    SelectionBar* m_selectionBar = nullptr;
};

} // namespace dorvale
