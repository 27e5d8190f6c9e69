#pragma once

#include <string>
#include <vector>

// What tests ask of the files they made, each a single look at the disk.
namespace dorvale::test {

/// The names in a folder, sorted; none when it cannot be listed.
[[nodiscard]] std::vector<std::string> namesIn(const std::string& folder);

} // namespace dorvale::test
