#pragma once

#include "analysis/FileListing.hpp"
#include "analysis/PreviewPanel.hpp"
#include "model/ScanResult.hpp"

#include <QWidget>

#include <memory>

namespace dorvale {

class AppState;
class FilesTable;
class FilterBar;

/// The large and old files of one scan: every live file that passes the state's
/// `largeFilter`, in walk order, under the filter bar that edits that filter, in the files
/// table. The filter lives in the state, so it outlasts the screen; the list follows it and
/// every deletion. Exports the listed files in walk order. Keeps the scan it shows.
class LargeFilesView : public QWidget {
    Q_OBJECT

public:
    LargeFilesView(AppState& state, std::shared_ptr<const ScanResult> scan,
                   const PreviewPresenter& presenter, QWidget* parent = nullptr);

    /// The screen's page: the scan prompt until there is a scan, then a view of each result.
    [[nodiscard]] static QWidget* makePage(AppState& state,
                                           PreviewPresenter presenter = previewPanelPresenter());

    [[nodiscard]] const FileListing& listing() const { return m_listing; }
    [[nodiscard]] FilesTable& table() const { return *m_table; }
    /// Asks where to save the listed files and writes them.
    void exportListed();

private:
    void refresh();

    AppState& m_state;
    std::shared_ptr<const ScanResult> m_scan;
    FileListing m_listing;
    FilterBar* m_filterBar;
    FilesTable* m_table;
};

} // namespace dorvale
