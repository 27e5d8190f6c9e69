#include "support/FileChecks.hpp"

#include "platform/FolderListing.hpp"

#include <algorithm>

namespace dorvale::test {

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names = listFolder(folder).value_or(std::vector<std::string>{});
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace dorvale::test
