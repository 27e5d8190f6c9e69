#include "platform/Bundle.hpp"

#include "platform/Paths.hpp"

#include <sys/stat.h>

namespace dorvale {

Bundle::Bundle(std::string path, PropertyList info)
    : m_path(std::move(path))
    , m_info(std::move(info)) {}

std::optional<Bundle> Bundle::open(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return std::nullopt;
    }
    std::optional<PropertyList> plist =
        PropertyList::readDictionaryFile(joinPath(path, "Contents/Info.plist"));
    return Bundle(path, plist ? std::move(*plist) : PropertyList::makeDictionary());
}

std::optional<std::string> Bundle::bundleIdentifier() const {
    std::optional<std::string> identifier = m_info.string("CFBundleIdentifier");
    if (identifier && identifier->empty()) {
        return std::nullopt;
    }
    return identifier;
}

std::optional<std::string> Bundle::executablePath() const {
    const std::optional<std::string> name = m_info.string("CFBundleExecutable");
    // The name comes from a file anyone may have written; it must not lead out of the
    // bundle's MacOS folder.
    if (!name || name->empty() || *name == "." || *name == ".." ||
        name->find('/') != std::string::npos) {
        return std::nullopt;
    }
    return joinPath(joinPath(m_path, "Contents/MacOS"), *name);
}

std::optional<std::string> Bundle::infoString(std::string_view key) const {
    return m_info.string(key);
}

} // namespace dorvale
