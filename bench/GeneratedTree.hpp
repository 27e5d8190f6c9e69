#pragma once

#include "model/FileKind.hpp"
#include "model/ScanResult.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// Builds a scan tree in memory for the benchmarks, depth-first: a folder's figures are
/// summed from its children when it is closed, as the scanner does when the walk leaves it.
/// Folders are dated a month before `now`. A folder takes the bucket it is opened with, or
/// that of the folder it is in, and files that of their folder; the result counts bucket and
/// kind totals as a scan does.
class GeneratedTree {
public:
    GeneratedTree(const std::string& rootPath, Timestamp now);

    void open(std::string_view name, std::optional<StorageBucket> bucket = std::nullopt);
    void close();
    void file(std::string_view name, std::int64_t size, Timestamp modified,
              FileKind kind = FileKind::Other);

    [[nodiscard]] std::int64_t nodes() const { return m_nodes; }
    [[nodiscard]] std::shared_ptr<ScanResult> finish();

private:
    struct Open {
        FileNode* folder;
        std::vector<FileNode*> children;
    };

    Timestamp m_now;
    ScanResult m_result;
    std::vector<Open> m_open;
    std::int64_t m_nodes = 1;
};

} // namespace dorvale
