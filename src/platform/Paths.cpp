#include "platform/Paths.hpp"

#include <vector>

namespace dorvale {

std::string normalizePath(std::string_view path) {
    if (path.empty()) {
        return {};
    }
    const bool absolute = path.front() == '/';
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..") {
                parts.pop_back();
            } else if (!absolute) {
                parts.push_back(part);
            }
            continue;
        }
        parts.push_back(part);
    }
    std::string result = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            result += '/';
        }
        result += parts[i];
    }
    return result.empty() ? std::string(".") : result;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string result(folder);
    if (result.empty() || result.back() != '/') {
        result += '/';
    }
    result += name;
    return result;
}

std::string_view lastComponent(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

namespace {

// Where the extension of a file name begins, after its dot; npos when it has none.
std::size_t extensionStart(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view::npos : dot + 1;
}

} // namespace

std::string_view nameExtension(std::string_view name) {
    const std::size_t start = extensionStart(name);
    return start == std::string_view::npos ? std::string_view() : name.substr(start);
}

std::string_view nameWithoutExtension(std::string_view name) {
    const std::size_t start = extensionStart(name);
    return start == std::string_view::npos ? name : name.substr(0, start - 1);
}

std::string_view parentPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return {};
    }
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

bool isSameOrInside(std::string_view path, std::string_view folder) {
    if (!path.starts_with(folder)) {
        return false;
    }
    if (path.size() == folder.size()) {
        return true;
    }
    return folder.ends_with('/') || path[folder.size()] == '/';
}

std::string_view matchingPath(std::string_view path, std::string_view dataVolume) {
    if (dataVolume.empty() || dataVolume == "/") {
        return path;
    }
    if (path == dataVolume) {
        return "/";
    }
    if (path.size() > dataVolume.size() && path.starts_with(dataVolume) &&
        path[dataVolume.size()] == '/') {
        return path.substr(dataVolume.size());
    }
    return path;
}

} // namespace dorvale
