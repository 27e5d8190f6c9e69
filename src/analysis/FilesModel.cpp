#include "analysis/FilesModel.hpp"

#include "analysis/NodeCells.hpp"
#include "app/PathText.hpp"
#include "platform/Formatters.hpp"
#include "platform/Paths.hpp"
#include "style/Theme.hpp"

#include <algorithm>
#include <array>

namespace dorvale {

namespace {

QString utf8Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::vector<SortedRowsModel::Column> columns() {
    return {
        {FilesModel::tr("Name")},        {FilesModel::tr("Size")},
        {FilesModel::tr("Kind")},        {FilesModel::tr("Category")},
        {FilesModel::tr("Modified")},    {FilesModel::tr("Last opened")},
        {FilesModel::tr("Risk"), false},
    };
}

// The kind titles' places in the language's order, made once.
std::int64_t kindRank(FileKind kind) {
    static const auto ranks = [] {
        std::array<std::string_view, allFileKinds.size()> titles{};
        for (std::size_t i = 0; i < titles.size(); ++i) {
            titles[i] = title(allFileKinds[i]);
        }
        return NameRanks::rank(titles);
    }();
    return ranks[static_cast<std::size_t>(kind)];
}

} // namespace

FilesModel::FilesModel(const SafetyPolicy& safety, const Locations& locations, const Clock& clock,
                       QObject* parent)
    : NodeRowsModel(columns(), safety, SortKey{Size, Qt::DescendingOrder}, Risk, parent)
    , m_locations(locations)
    , m_clock(clock) {}

bool FilesModel::setNodes(std::shared_ptr<const ScanResult> scan,
                          std::vector<const FileNode*> nodes) {
    if (scan == this->scan() && nodes == rows()) {
        return false;
    }
    std::int64_t largest = 0;
    for (const FileNode* node : nodes) {
        largest = std::max(largest, node->size());
    }
    m_largest = std::max<std::int64_t>(largest, 1);
    NodeRowsModel::setNodes(std::move(scan), std::move(nodes));
    return true;
}

QString FilesModel::kindText(std::string_view name, FileKind kind) {
    const std::string_view extension = nameExtension(name);
    return extension.empty() ? utf8Text(title(kind)) : pathText(extension).toUpper();
}

std::vector<std::int64_t> FilesModel::columnKeys(int column) const {
    const std::vector<const FileNode*>& nodes = rows();
    std::vector<std::int64_t> keys(nodes.size());
    const auto fill = [&](auto key) {
        std::transform(nodes.begin(), nodes.end(), keys.begin(), key);
    };
    // Dates are whole seconds; milliseconds keep any fraction a scan might give them.
    const auto date = [](double seconds) {
        return static_cast<std::int64_t>(seconds * 1000);
    };
    switch (column) {
    case Name:
        return nameKeys();
    case Size:
        fill([](const FileNode* node) { return node->size(); });
        break;
    case Kind:
        fill([](const FileNode* node) { return kindRank(node->kind()); });
        break;
    case Category:
        fill([](const FileNode* node) { return bucketRank(node->bucket()); });
        break;
    case Modified:
        fill([&](const FileNode* node) { return date(node->modified()); });
        break;
    case LastOpened:
        fill([&](const FileNode* node) { return date(node->accessed()); });
        break;
    default:
        break;
    }
    return keys;
}

QVariant FilesModel::cellData(std::size_t source, int column, int role) const {
    const FileNode& node = *this->source(source);
    switch (column) {
    case Name:
        return nameData(node, source, role);
    case Size:
        return sizeData(node, role, m_largest);
    case Risk:
        return riskData(source, role);
    case Kind:
        if (role == DotColorRole) {
            return Theme::kindColor(node.kind());
        }
        break;
    default:
        break;
    }
    return role == Qt::DisplayRole ? textData(node, column) : QVariant();
}

QVariant FilesModel::nameData(const FileNode& node, std::size_t source, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return pathText(node.name());
    case Qt::DecorationRole:
        return iconAt(source);
    case DetailRole:
        return shownPath(parentPath(node.path()), m_locations);
    case Qt::ToolTipRole:
        return pathText(matchingPath(node.path(), m_locations.dataVolume));
    default:
        return {};
    }
}

QVariant FilesModel::textData(const FileNode& node, int column) const {
    switch (column) {
    case Kind:
        return kindText(node.name(), node.kind());
    case Category:
        return utf8Text(node.bucketTitle());
    case Modified:
        return QString::fromStdString(shortDateText(node.modified()));
    case LastOpened:
        return QString::fromStdString(
            relativeText(std::max(node.accessed(), node.modified()), m_clock));
    default:
        return {};
    }
}

} // namespace dorvale
