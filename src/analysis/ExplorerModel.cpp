#include "analysis/ExplorerModel.hpp"

#include "analysis/NodeCells.hpp"
#include "app/PathText.hpp"
#include "platform/Formatters.hpp"
#include "style/Theme.hpp"
#include "widgets/RiskBadge.hpp"

#include <QLocale>

#include <algorithm>

namespace dorvale {

namespace {

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::vector<SortedRowsModel::Column> columns() {
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    return {
        {ExplorerModel::tr("Name")},           {ExplorerModel::tr("Size")},
        {ExplorerModel::tr("%"), true, right}, {ExplorerModel::tr("Files"), true, right},
        {ExplorerModel::tr("Category")},       {ExplorerModel::tr("Modified")},
        {ExplorerModel::tr("Risk"), false},
    };
}

std::vector<const FileNode*> liveChildren(const FileNode* folder) {
    std::vector<const FileNode*> rows;
    if (folder != nullptr) {
        for (const FileNode* child : folder->children()) {
            if (!child->deleted()) {
                rows.push_back(child);
            }
        }
    }
    return rows;
}

} // namespace

ExplorerModel::ExplorerModel(const SafetyPolicy& safety, QObject* parent)
    : NodeRowsModel(columns(), safety, SortKey{Size, Qt::DescendingOrder}, Risk, parent) {}

void ExplorerModel::setFolder(std::shared_ptr<const ScanResult> scan, const FileNode* folder) {
    m_folder = folder;
    setNodes(std::move(scan), liveChildren(folder));
}

void ExplorerModel::refresh() {
    setNodes(scan(), liveChildren(m_folder));
}

std::vector<std::int64_t> ExplorerModel::columnKeys(int column) const {
    const std::vector<const FileNode*>& nodes = rows();
    std::vector<std::int64_t> keys(nodes.size());
    const auto fill = [&](auto key) {
        std::transform(nodes.begin(), nodes.end(), keys.begin(), key);
    };
    switch (column) {
    case Name:
        return nameKeys();
    case Size:
    case Share:
        fill([](const FileNode* node) { return node->size(); });
        break;
    case Files:
        fill([](const FileNode* node) { return node->fileCount(); });
        break;
    case Category:
        fill([](const FileNode* node) { return bucketRank(node->bucket()); });
        break;
    case Modified:
        fill([](const FileNode* node) {
            return static_cast<std::int64_t>(node->modified() * 1000);
        });
        break;
    default:
        break;
    }
    return keys;
}

QVariant ExplorerModel::cellData(std::size_t source, int column, int role) const {
    const FileNode& node = *this->source(source);
    switch (column) {
    case Name:
        return nameData(node, source, role);
    case Size:
        return sizeData(node, role, m_folder->size());
    case Risk:
        return riskData(source, role);
    default:
        break;
    }
    if (role != Qt::DisplayRole) {
        if (column == Category && role == DotColorRole) {
            return Theme::bucketColor(node.bucket());
        }
        return {};
    }
    switch (column) {
    case Share:
        return QString::fromStdString(percentText(node.size(), m_folder->size()));
    case Files:
        return node.isDirectory() ? QLocale().toString(qint64{node.fileCount()})
                                  : QStringLiteral("—");
    case Category:
        return qtext(node.bucketTitle());
    case Modified:
        return QString::fromStdString(shortDateText(node.modified()));
    default:
        return {};
    }
}

QVariant ExplorerModel::nameData(const FileNode& node, std::size_t source, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return pathText(node.name());
    case Qt::DecorationRole:
        return iconAt(source);
    case UnreadableRole:
        return node.unreadable();
    case Qt::ToolTipRole:
        return node.unreadable() ? tr("No permission to read. Grant Full Disk Access.")
                                 : QVariant();
    default:
        return {};
    }
}

} // namespace dorvale
