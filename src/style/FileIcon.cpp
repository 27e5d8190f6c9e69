#include "style/FileIcon.hpp"

#include "app/PathText.hpp"
#include "model/FolderNames.hpp"
#include "model/JunkRule.hpp"
#include "platform/Paths.hpp"
#include "style/Symbols.hpp"

#include <QCoreApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPainter>

#include <sys/stat.h>

namespace dorvale {

namespace {

const QFileIconProvider& iconProvider() {
    static const QFileIconProvider provider;
    return provider;
}

FileIcon::Kind kindOnDisk(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) ? FileIcon::Kind::Folder
                                                                         : FileIcon::Kind::File;
}

// Plain files by their name only: sniffing the content would open every file of a list.
QIcon lookUp(const std::string& path, FileIcon::Kind kind) {
    const QString name = pathText(path);
    if (kind == FileIcon::Kind::Folder) {
        // A folder that is gone has no icon of its own, but is still drawn as a folder.
        const QIcon icon = iconProvider().icon(QFileInfo(name));
        return icon.isNull() ? iconProvider().icon(QAbstractFileIconProvider::Folder) : icon;
    }
    Symbols::prepareIconTheme();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) {
        icon = QIcon::fromTheme(type.genericIconName());
    }
    return icon.isNull() ? iconProvider().icon(QAbstractFileIconProvider::File) : icon;
}

} // namespace

FileIcon::FileIcon(std::string path, int size, QWidget* parent)
    : FileIcon(path, kindOnDisk(path), size, parent) {}

FileIcon::FileIcon(std::string path, Kind kind, int size, QWidget* parent)
    : QWidget(parent)
    , m_path(std::move(path))
    , m_icon(icon(m_path, kind))
    , m_size(size) {
    setFixedSize(size, size);
}

void FileIcon::setPath(std::string path) {
    m_path = std::move(path);
    m_icon = icon(m_path);
    update();
}

QIcon FileIcon::icon(const std::string& path) {
    return icon(path, kindOnDisk(path));
}

QIcon FileIcon::icon(const std::string& path, Kind kind) {
    const std::string key = cacheKey(path, kind);
    if (const QIcon* cached = cache().find(key)) {
        return *cached;
    }
    return cache().insert(key, lookUp(path, kind));
}

// Every folder is keyed by its path, not only packages: a folder named like a file
// ("lodash.debounce", "notes.txt") would otherwise store a folder icon as the icon of every
// file with that extension, or show the file icon itself.
std::string FileIcon::cacheKey(std::string_view path, Kind kind) {
    const std::string extension = lowercasePathExtension(lastComponent(path));
    if (kind == Kind::Folder || extension.empty() || packageExtensions().contains(extension)) {
        return std::string(path);
    }
    return "ext:" + extension;
}

// Emptied when the application object goes, while the icon engines it holds can still be
// destroyed safely.
IconCache& FileIcon::cache() {
    static IconCache icons;
    [[maybe_unused]] static const bool registered = [] {
        qAddPostRoutine([] { cache().clear(); });
        return true;
    }();
    return icons;
}

QSize FileIcon::sizeHint() const {
    return {m_size, m_size};
}

void FileIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap pixmap = m_icon.pixmap(QSize(m_size, m_size), devicePixelRatioF());
    painter.drawPixmap(QRectF(0, 0, m_size, m_size), pixmap, QRectF(pixmap.rect()));
}

} // namespace dorvale
