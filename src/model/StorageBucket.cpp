#include "model/StorageBucket.hpp"

#include "model/FolderNames.hpp"
#include "platform/RawValue.hpp"
#include "platform/Tr.hpp"

namespace dorvale {

namespace {

struct BucketInfo {
    std::string_view title;
    std::string_view symbol;
    Rgb color;
    std::string_view detail;
};

constexpr std::array<BucketInfo, allStorageBuckets.size()> bucketInfo = {{
    {"Applications",
     "square.grid.2x2.fill",
     {91, 140, 255},
     ".app bundles in Applications and other folders."},
    {"Documents", "doc.text.fill", {52, 195, 160}, "PDFs, office files, text and data."},
    {"Images & Photos",
     "photo.on.rectangle.angled",
     {245, 184, 61},
     "Photos, the Photos library and design files."},
    {"Video", "film.stack.fill", {255, 107, 138}, "Movies, recordings and video projects."},
    {"Music & Audio", "music.note", {181, 123, 255}, "Music, podcasts and sound libraries."},
    {"Installers & Archives",
     "shippingbox.fill",
     {255, 159, 67},
     "DMG, PKG, ZIP… usually safe to delete after installing."},
    {"Developer",
     "hammer.fill",
     {61, 214, 245},
     "Xcode, simulators, node_modules, Docker and package caches."},
    {"App Data",
     "tray.full.fill",
     {142, 154, 175},
     "What apps store in ~/Library: databases, settings, containers."},
    {"Caches & Temporary Files",
     "sparkles",
     {123, 224, 123},
     "Caches, logs and temporary files. macOS and apps recreate them."},
    {"Trash", "trash.fill", {201, 162, 126}, "Items already in the Trash."},
    {"System",
     "gearshape.2.fill",
     {74, 80, 104},
     "macOS files and shared components outside the sealed volume."},
    {"Other",
     "ellipsis.circle.fill",
     {160, 164, 176},
     "Everything that doesn’t fit another category."},
}};

constexpr std::array<StorageBucket, allFileKinds.size()> kindDefaults = {
    StorageBucket::Documents, StorageBucket::Images,       StorageBucket::Video,
    StorageBucket::Audio,     StorageBucket::Archives,     StorageBucket::Archives,
    StorageBucket::Documents, StorageBucket::Applications, StorageBucket::Other,
};

const BucketInfo& info(StorageBucket bucket) {
    return bucketInfo[static_cast<std::size_t>(bucket)];
}

template <typename Value, typename... Names>
bool isOneOf(const Value& value, const Names&... names) {
    return ((value == names) || ...);
}

// Bundles that carry their bucket in their own name, whatever folder they are in.
std::optional<StorageBucket> bucketOfBundleName(std::string_view name) {
    const auto endsWith = [name](auto... suffixes) {
        return (name.ends_with(suffixes) || ...);
    };
    if (endsWith(".app")) {
        return StorageBucket::Applications;
    }
    if (endsWith(".photoslibrary", ".photolibrary")) {
        return StorageBucket::Images;
    }
    if (endsWith(".musiclibrary", ".logicx", ".band")) {
        return StorageBucket::Audio;
    }
    if (endsWith(".fcpbundle", ".imovielibrary", ".tvlibrary")) {
        return StorageBucket::Video;
    }
    if (endsWith(".xcarchive")) {
        return StorageBucket::Developer;
    }
    return std::nullopt;
}

std::optional<StorageBucket> bucketInUserFolder(const PathComponents& path,
                                                std::optional<StorageBucket> fallback) {
    const auto& c = path.head;
    if (path.count >= 3 && c[2] == ".Trash") {
        return StorageBucket::Trash;
    }
    if (path.count >= 3 && c[2] == "Library") {
        if (path.count == 3) {
            return StorageBucket::AppData;
        }
        if (isOneOf(c[3], "Caches", "Logs", "HTTPStorages", "Saved Application State")) {
            return StorageBucket::Junk;
        }
        if (c[3] == "Developer") {
            return StorageBucket::Developer;
        }
        if (isOneOf(c[3], "Mail", "Messages", "Mobile Documents", "CloudStorage")) {
            return std::nullopt;
        }
        return StorageBucket::AppData;
    }
    if (path.count >= 3 && c[2] == "Applications") {
        return fallback;
    }
    return fallback == StorageBucket::AppData ? fallback : std::nullopt;
}

std::optional<StorageBucket> bucketByPath(const PathComponents& path,
                                          std::optional<StorageBucket> fallback) {
    if (path.count == 0) {
        return fallback;
    }
    const auto& c = path.head;
    if (c[0] == "Users") {
        return bucketInUserFolder(path, fallback);
    }
    if (c[0] == "Applications") {
        return fallback;
    }
    if (c[0] == "Library") {
        if (path.count == 1) {
            return StorageBucket::System;
        }
        if (isOneOf(c[1], "Caches", "Logs")) {
            return StorageBucket::Junk;
        }
        return c[1] == "Developer" ? StorageBucket::Developer : StorageBucket::System;
    }
    if (c[0] == "private") {
        if (path.count >= 3 && c[1] == "var" && isOneOf(c[2], "folders", "log")) {
            return StorageBucket::Junk;
        }
        if (path.count == 1) {
            return StorageBucket::System;
        }
        return c[1] == "tmp" ? StorageBucket::Junk : StorageBucket::System;
    }
    if (isOneOf(c[0], "opt", "usr")) {
        return StorageBucket::Developer;
    }
    if (isOneOf(c[0], "System", "cores", "sw", ".Spotlight-V100", ".fseventsd",
                ".DocumentRevisions-V100", ".PKInstallSandboxManager-SystemSoftware",
                "MobileSoftwareUpdate")) {
        return StorageBucket::System;
    }
    return fallback;
}

} // namespace

std::optional<StorageBucket> storageBucketFromRaw(unsigned raw) {
    return atPosition(allStorageBuckets, raw);
}

std::string_view title(StorageBucket bucket) {
    return tr(info(bucket).title);
}

std::string_view detail(StorageBucket bucket) {
    return tr(info(bucket).detail);
}

std::string_view symbol(StorageBucket bucket) {
    return info(bucket).symbol;
}

Rgb color(StorageBucket bucket) {
    return info(bucket).color;
}

StorageBucket defaultForKind(FileKind kind) {
    return kindDefaults[static_cast<std::size_t>(kind)];
}

PathComponents PathComponents::of(std::string_view path) {
    PathComponents result;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            if (result.count < result.head.size()) {
                result.head[result.count] = path.substr(start, end - start);
            }
            ++result.count;
        }
        start = end + 1;
    }
    return result;
}

std::optional<StorageBucket> classify(const PathComponents& components, std::string_view name,
                                      std::optional<StorageBucket> fallback) {
    if (const auto bundle = bucketOfBundleName(name)) {
        return bundle;
    }
    if (fallback &&
        !isOneOf(*fallback, StorageBucket::AppData, StorageBucket::System, StorageBucket::Other)) {
        return fallback;
    }
    if (developerFolderNames().contains(name)) {
        return StorageBucket::Developer;
    }
    return bucketByPath(components, fallback);
}

} // namespace dorvale
