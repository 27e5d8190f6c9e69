#pragma once

#include "model/FileNode.hpp"

#include <string_view>

// What tests ask of a scanned or hand-built tree.
namespace dorvale::test {

/// The child of `folder` named `name`, deleted or not; null when there is none or `folder` is
/// null, so look-ups can be chained down a path.
[[nodiscard]] const FileNode* child(const FileNode* folder, std::string_view name);

} // namespace dorvale::test
