#include "platform/AutostartLoginItem.hpp"

#include "platform/FileOperations.hpp"
#include "platform/Paths.hpp"
#include "platform/Text.hpp"
#include "platform/Tr.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace dorvale {

namespace {

constexpr std::string_view entryName = "app.dorvale.Dorvale.desktop";
// The launcher's own comment, so a desktop's list of login items describes the program alike.
constexpr std::string_view entryComment = "See where your disk space goes and take it back safely";

// A control character would end or corrupt the entry's line, and desktops read only UTF-8.
bool fitsInEntry(std::string_view programPath) {
    const bool hasControl = std::any_of(programPath.begin(), programPath.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return programPath.starts_with('/') && !hasControl && toValidUtf8(programPath) == programPath;
}

// The entry is simply not there: no such file, or no autostart folder at all.
bool isAbsence(int code) {
    return code == ENOENT || code == ENOTDIR;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Whether the "[Desktop Entry]" group switches the entry off. Spaces around "=" do not
// count, and the same keys in other groups (such as actions) say nothing about the entry.
bool switchedOff(std::string_view contents) {
    bool inMainGroup = false;
    while (!contents.empty()) {
        const auto end = contents.find('\n');
        const std::string_view line = trimmed(contents.substr(0, end));
        contents = end == std::string_view::npos ? std::string_view() : contents.substr(end + 1);
        if (line.starts_with('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (!inMainGroup || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false")) {
            return true;
        }
    }
    return false;
}

} // namespace

AutostartLoginItem::AutostartLoginItem(const Locations& locations, std::string programPath)
    : m_folder(locations.autostartFolder())
    , m_entryPath(joinPath(m_folder, entryName))
    , m_programPath(std::move(programPath)) {}

std::string AutostartLoginItem::execValue(std::string_view programPath) {
    std::string quoted = "\"";
    for (const char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted) {
        value += c;
        if (c == '\\') {
            value += '\\';
        }
    }
    return value;
}

Result<void> AutostartLoginItem::registerItem() {
    if (!fitsInEntry(m_programPath)) {
        return FileError{.code = EINVAL,
                         .operation = FileOperation::Write,
                         .path = m_programPath,
                         .detail = std::string(tr("The program’s location contains characters "
                                                  "that a login item can’t hold."))};
    }
    if (Result<void> made = createFolderChain(m_folder); !made.ok()) {
        return made;
    }
    const std::string contents =
        "[Desktop Entry]\nType=Application\nName=Dorvale\nComment=" + std::string(entryComment) +
        "\nIcon=app.dorvale.Dorvale\nExec=" + execValue(m_programPath) +
        "\nStartupWMClass=Dorvale\nX-GNOME-Autostart-enabled=true\n";
    return writeFileAtomically(m_entryPath, contents);
}

Result<void> AutostartLoginItem::unregisterItem() {
    if (unlink(m_entryPath.c_str()) == 0) {
        return {};
    }
    const int code = errno;
    if (isAbsence(code)) {
        return {};
    }
    return FileError{.code = code, .operation = FileOperation::Remove, .path = m_entryPath};
}

Result<bool> AutostartLoginItem::isEnabled() const {
    Result<std::string> contents = readFile(m_entryPath);
    if (!contents.ok()) {
        if (isAbsence(contents.error().code)) {
            return false;
        }
        return contents.error();
    }
    return !switchedOff(contents.value());
}

} // namespace dorvale
