#include "analysis/FilesCSV.hpp"

#include "platform/Paths.hpp"
#include "platform/Text.hpp"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>

#include <cmath>
#include <ctime>
#include <string>

namespace dorvale {

namespace {

constexpr std::size_t flushAt = 64 * 1024;

void appendQuoted(std::string& line, std::string_view value) {
    line += '"';
    for (const char c : value) {
        if (c == '"') {
            line += '"';
        }
        line += c;
    }
    line += '"';
}

std::string isoDate(double seconds) {
    const auto time = static_cast<std::time_t>(std::floor(seconds));
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return {text, length};
}

void appendLine(std::string& out, const FileNode& node, std::string_view dataVolume) {
    const std::string path = node.path();
    appendQuoted(out, toValidUtf8(matchingPath(path, dataVolume)));
    out += ',';
    appendQuoted(out, toValidUtf8(node.name()));
    out += ',';
    appendQuoted(out, std::to_string(node.size()));
    out += ',';
    appendQuoted(out, std::to_string(node.logicalSize()));
    out += ',';
    appendQuoted(out, title(node.kind()));
    out += ',';
    appendQuoted(out, node.bucketTitle());
    out += ',';
    appendQuoted(out, isoDate(node.modified()));
    out += '\n';
}

bool flush(std::string& buffer, QIODevice& device) {
    const auto size = static_cast<qint64>(buffer.size());
    const bool written = device.write(buffer.data(), size) == size;
    buffer.clear();
    return written;
}

// The wait cursor for as long as it lives.
struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

bool writeCsv(std::span<const FileNode* const> nodes, std::string_view dataVolume,
              QIODevice& device) {
    std::string buffer = "Path,Name,Bytes on disk,Bytes,Kind,Category,Modified\n";
    buffer.reserve(flushAt + 4096);
    for (const FileNode* node : nodes) {
        appendLine(buffer, *node, dataVolume);
        if (buffer.size() >= flushAt && !flush(buffer, device)) {
            return false;
        }
    }
    return flush(buffer, device);
}

void FilesCSV::write(FileDialogs& dialogs, std::span<const FileNode* const> nodes,
                     const QString& baseName, std::string_view dataVolume) {
    const std::optional<std::string> path = dialogs.chooseSaveFile(baseName.toStdString());
    if (!path) {
        return;
    }
    const WaitCursor wait;
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(*path)));
    if (!file.open(QIODevice::WriteOnly) || !writeCsv(nodes, dataVolume, file) || !file.commit()) {
        file.cancelWriting();
    }
}

} // namespace dorvale
