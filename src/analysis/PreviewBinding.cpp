#include "analysis/PreviewBinding.hpp"

#include "model/FileKind.hpp"

namespace dorvale {

PreviewItem PreviewItem::of(const FileNode& node) {
    const std::string_view kind = title(node.kind());
    return {node.path(), node.isDirectory(), node.size(), node.fileCount(),
            QString::fromUtf8(kind.data(), static_cast<qsizetype>(kind.size()))};
}

void PreviewBinding::set(std::optional<PreviewItem> item) {
    m_item = std::move(item);
    emit changed();
}

void PreviewBinding::toggle(const PreviewItem& item) {
    set(m_item ? std::nullopt : std::optional<PreviewItem>(item));
}

} // namespace dorvale
