#pragma once

#include "model/FileNode.hpp"
#include "model/ScanResult.hpp"

#include <functional>
#include <string_view>

namespace dorvale {

/// Finds the node of a scan that stands for an absolute path, or null.
using ScanLookup = std::function<const FileNode*(std::string_view path)>;

/// The node of `scan` at `path`, or null when the scan has no root, the path lies outside
/// the scanned folder or a component of it has no node (small files are folded into their
/// folder and have none). Both the path and the scan's root are compared without the
/// `dataVolume` prefix, so a scan of the data volume answers for paths as seen from "/".
/// Components match node names exactly; nodes marked deleted are passed over.
///
/// It only reads the tree and returns at once; call it on the thread that owns the scan.
[[nodiscard]] const FileNode* nodeFromLastScan(const ScanResult& scan, std::string_view path,
                                               std::string_view dataVolume);

} // namespace dorvale
