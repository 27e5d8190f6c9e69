#include "model/FolderNames.hpp"

#include <array>

namespace dorvale {

namespace {

template <std::size_t N>
std::unordered_set<std::string_view> setOf(const std::array<std::string_view, N>& names) {
    return {names.begin(), names.end()};
}

} // namespace

const std::unordered_set<std::string_view>& packageExtensions() {
    static const auto set = setOf(std::to_array<std::string_view>({
        "app",        "photoslibrary", "musiclibrary", "tvlibrary",    "imovielibrary", "fcpbundle",
        "logicx",     "bundle",        "framework",    "plugin",       "kext",          "xpc",
        "appex",      "xcarchive",     "xcodeproj",    "xcworkspace",  "rtfd",          "pages",
        "numbers",    "key",           "sparsebundle", "photolibrary", "aplibrary",     "band",
        "savedState", "mdimporter",    "qlgenerator",  "prefPane",     "saver",         "component",
        "vst",        "vst3",
    }));
    return set;
}

const std::unordered_set<std::string_view>& developerFolderNames() {
    static const auto set = setOf(std::to_array<std::string_view>({
        "node_modules",
        "DerivedData",
        "CoreSimulator",
        ".gradle",
        ".npm",
        ".cargo",
        ".rustup",
        ".m2",
        ".cocoapods",
        ".pub-cache",
        ".nuget",
        "Pods",
        ".venv",
        "venv",
        "__pycache__",
        ".next",
        ".turbo",
        "Developer",
        ".docker",
        "com.docker.docker",
        ".bun",
        ".pnpm-store",
        "go",
    }));
    return set;
}

bool isPackageName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot != std::string_view::npos && packageExtensions().contains(name.substr(dot + 1));
}

} // namespace dorvale
