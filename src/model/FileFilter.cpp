#include "model/FileFilter.hpp"

#include "model/FilterPass.hpp"

namespace dorvale {

bool FileFilter::matches(const FileNode& node, Timestamp now, std::string_view dataVolume) const {
    return FilterPass(*this, now, dataVolume).matches(node);
}

} // namespace dorvale
