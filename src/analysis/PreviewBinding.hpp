#pragma once

#include "model/FileNode.hpp"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace dorvale {

/// What a preview shows of an item besides its contents, taken from its node when the
/// preview is asked for, so the preview holds no node.
struct PreviewItem {
    /// The item's path as the file system has it.
    std::string path;
    bool isDirectory = false;
    std::int64_t size = 0;
    std::int64_t fileCount = 0;
    QString kindTitle;

    [[nodiscard]] static PreviewItem of(const FileNode& node);

    friend bool operator==(const PreviewItem& a, const PreviewItem& b) { return a.path == b.path; }
};

/// A page's `preview`: the item its preview window shows, or none. The page sets it (Space,
/// the context menu's "Quick Look"); the window follows it and clears it when it closes.
class PreviewBinding : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    [[nodiscard]] const std::optional<PreviewItem>& item() const { return m_item; }
    void set(std::optional<PreviewItem> item);
    /// Space on a list: shows `item` while nothing is shown, else hides the preview.
    void toggle(const PreviewItem& item);

signals:
    void changed();

private:
    std::optional<PreviewItem> m_item;
};

} // namespace dorvale
