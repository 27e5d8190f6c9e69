#pragma once

#include "analysis/FileListing.hpp"
#include "analysis/PreviewPanel.hpp"
#include "model/FileFilter.hpp"
#include "model/ScanResult.hpp"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QHBoxLayout;

namespace dorvale {

class AppState;
class ElidedLabel;
class FilesTable;
class FilterBar;
class KindTile;

/// The files of one scan by kind: a tile per kind with the bytes and files the scan counted
/// for it, largest first, and the live files of the picked kind (video to begin with) that
/// pass the screen's own filter, in walk order, in the files table. While the filter is the
/// default one, a note tells how many files of the kind are too small to have a row.
/// Exports the listed files. Keeps the scan it shows.
class TypesView : public QWidget {
    Q_OBJECT

public:
    TypesView(AppState& state, std::shared_ptr<const ScanResult> scan,
              const PreviewPresenter& presenter, QWidget* parent = nullptr);

    [[nodiscard]] static QWidget* makePage(AppState& state,
                                           PreviewPresenter presenter = previewPanelPresenter());

    [[nodiscard]] FileKind kind() const { return m_kind; }
    /// Lists the files of `kind`; the filter stays as it is.
    void setKind(FileKind kind);
    [[nodiscard]] const FileFilter& filter() const { return m_filter; }
    [[nodiscard]] const FileListing& listing() const { return m_listing; }
    [[nodiscard]] FilesTable& table() const { return *m_table; }
    /// The tiles in their order on screen.
    [[nodiscard]] std::vector<KindTile*> tiles() const;
    /// The files of the picked kind too small for a row, when the note shows them.
    [[nodiscard]] std::optional<std::int64_t> smallFiles() const;
    void exportListed();

private:
    [[nodiscard]] QWidget* makeTiles();
    void refresh();
    void orderTiles();

    AppState& m_state;
    std::shared_ptr<const ScanResult> m_scan;
    FileKind m_kind = FileKind::Video;
    FileFilter m_filter;
    FileListing::KindLists m_kindFiles;
    FileListing m_listing;
    std::array<KindTile*, allFileKinds.size()> m_tiles{};
    QHBoxLayout* m_tileRow = nullptr;
    FilterBar* m_filterBar;
    ElidedLabel* m_note;
    FilesTable* m_table;
};

} // namespace dorvale
