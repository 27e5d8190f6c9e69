#pragma once

#include "analysis/NodeRowsModel.hpp"
#include "platform/Clock.hpp"
#include "platform/Locations.hpp"

#include <memory>
#include <vector>

namespace dorvale {

/// The rows of the files table: a list of file nodes handed in by the screen, sorted by the
/// table's keys, largest first to begin with; the screen's order breaks the last ties.
/// "Kind" sorts by the kind's title and "Last opened" by the access date alone, though it
/// shows the later of the access and modification dates. "Risk" does not sort.
class FilesModel : public NodeRowsModel {
    Q_OBJECT

public:
    enum Column : int {
        Name,
        Size,
        Kind,
        Category,
        Modified,
        LastOpened,
        Risk,
    };

    FilesModel(const SafetyPolicy& safety, const Locations& locations, const Clock& clock,
               QObject* parent = nullptr);

    /// Shows `nodes` of `scan` in the current sort order, unless they are the nodes shown
    /// already, in the same order: then nothing changes. Returns whether the rows changed.
    bool setNodes(std::shared_ptr<const ScanResult> scan, std::vector<const FileNode*> nodes);

    /// What a Kind cell shows for a name: the name's extension in capitals, or the kind's
    /// title for a name without one.
    [[nodiscard]] static QString kindText(std::string_view name, FileKind kind);

protected:
    [[nodiscard]] std::vector<std::int64_t> columnKeys(int column) const override;
    [[nodiscard]] QVariant cellData(std::size_t source, int column, int role) const override;

private:
    [[nodiscard]] QVariant nameData(const FileNode& node, std::size_t source, int role) const;
    [[nodiscard]] QVariant textData(const FileNode& node, int column) const;

    const Locations& m_locations;
    const Clock& m_clock;
    std::int64_t m_largest = 1;
};

} // namespace dorvale
