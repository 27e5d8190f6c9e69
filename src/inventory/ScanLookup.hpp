#pragma once

#include "model/FileNode.hpp"
#include "model/MatchingPath.hpp"
#include "model/ScanResult.hpp"

#include <functional>
#include <string_view>

namespace dorvale {

/// Finds the node of a scan that stands for a path in matching form, or null.
using ScanLookup = std::function<const FileNode*(const MatchingPath& path)>;

/// The node of `scan` at `path`, or null when the scan has no root, the path lies outside
/// the scanned folder or a component of it has no node (small files are folded into their
/// folder and have none). The scan's root, a real path, is brought to matching form with
/// `dataVolume` before the two are compared, so a scan of the data volume answers for paths
/// as seen from "/". Components match node names exactly; deleted nodes are passed over.
///
/// It only reads the tree and returns at once; call it on the thread that owns the scan.
[[nodiscard]] const FileNode* nodeFromLastScan(const ScanResult& scan, const MatchingPath& path,
                                               std::string_view dataVolume);

} // namespace dorvale
