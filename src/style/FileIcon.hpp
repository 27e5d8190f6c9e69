#pragma once

#include "style/IconCache.hpp"

#include <QIcon>
#include <QWidget>

#include <string>
#include <string_view>

namespace dorvale {

/// The desktop's icon for a file or folder, drawn `size` × `size`.
///
/// Icons come through one process-wide cache: plain files share one icon per extension
/// (compared without case), while folders, packages, applications and files without an
/// extension get one each. The icon of a plain file is chosen by its name alone, so no file
/// is opened to draw a list. GUI thread only.
class FileIcon : public QWidget {
    Q_OBJECT

public:
    /// Whether an item is a folder: folders get an icon of their own, files one by their name.
    enum class Kind {
        File,
        Folder,
    };

    /// `path` as bytes, as the file system gave it; whether it is a folder is looked up on disk.
    FileIcon(std::string path, int size, QWidget* parent = nullptr);
    /// The icon of an item whose kind the caller already knows.
    FileIcon(std::string path, Kind kind, int size, QWidget* parent = nullptr);

    void setPath(std::string path);
    [[nodiscard]] const std::string& path() const { return m_path; }

    /// The icon for the item at `path`; looks on disk whether it is a folder.
    [[nodiscard]] static QIcon icon(const std::string& path);
    /// The icon for the item at `path`, whose kind the caller already knows.
    [[nodiscard]] static QIcon icon(const std::string& path, Kind kind);
    /// The key an item's icon is kept under: "ext:" and the lower-cased extension for a plain
    /// file, the path itself for a folder, a package or a file without an extension.
    [[nodiscard]] static std::string cacheKey(std::string_view path, Kind kind);
    /// The process-wide cache.
    [[nodiscard]] static IconCache& cache();

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_path;
    QIcon m_icon;
    int m_size;
};

} // namespace dorvale
