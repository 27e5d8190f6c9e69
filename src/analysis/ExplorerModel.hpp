#pragma once

#include "analysis/NodeRowsModel.hpp"

#include <memory>

namespace dorvale {

/// The rows of the explorer's list: the live children of one folder, in the order of the
/// sort keys, largest first to begin with; the folder's own order breaks the last ties.
/// "Risk" does not sort.
class ExplorerModel : public NodeRowsModel {
    Q_OBJECT

public:
    enum Column : int {
        Name,
        Size,
        Share,
        Files,
        Category,
        Modified,
        Risk,
    };

    ExplorerModel(const SafetyPolicy& safety, QObject* parent = nullptr);

    /// Shows the live children of `folder`, a node of `scan`.
    void setFolder(std::shared_ptr<const ScanResult> scan, const FileNode* folder);
    /// Takes the rows again from the folder, after a deletion.
    void refresh();
    [[nodiscard]] const FileNode* folder() const { return m_folder; }

protected:
    [[nodiscard]] std::vector<std::int64_t> columnKeys(int column) const override;
    [[nodiscard]] QVariant cellData(std::size_t source, int column, int role) const override;

private:
    [[nodiscard]] QVariant nameData(const FileNode& node, std::size_t source, int role) const;

    const FileNode* m_folder = nullptr;
};

} // namespace dorvale
