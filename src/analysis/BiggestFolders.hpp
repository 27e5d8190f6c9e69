#pragma once

#include "model/ScanResult.hpp"
#include "widgets/Card.hpp"

#include <memory>
#include <vector>

namespace dorvale {

class AppState;
class RowButton;

/// The overview's card "Largest folders": the folders `largestFolders` picks from the scan,
/// largest first, each with its path and a bar of its share of the largest. A click opens
/// the explorer at the folder. A scan without such folders shows the title alone.
///
/// The rows keep their nodes only together with the scan they were built from: a click
/// after another scan was published, or on a folder deleted since, does nothing.
class BiggestFolders : public Card {
    Q_OBJECT

public:
    BiggestFolders(AppState& state, std::shared_ptr<const ScanResult> scan,
                   QWidget* parent = nullptr);

    /// Shows `folder` in the explorer, with the folders from the scan's root down to it as
    /// its trail.
    void open(const FileNode& folder);

    [[nodiscard]] const std::vector<const FileNode*>& folders() const { return m_folders; }
    [[nodiscard]] const std::vector<RowButton*>& rows() const { return m_rows; }

private:
    [[nodiscard]] RowButton* makeRow(const FileNode& folder, double fraction);

    AppState& m_state;
    std::shared_ptr<const ScanResult> m_scan;
    std::vector<const FileNode*> m_folders;
    std::vector<RowButton*> m_rows;
};

} // namespace dorvale
