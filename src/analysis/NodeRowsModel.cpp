#include "analysis/NodeRowsModel.hpp"

#include "style/FileIcon.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/RiskBadge.hpp"

#include <algorithm>
#include <array>

namespace dorvale {

namespace {

// The bucket titles' places in the language's order, made once.
const std::array<std::uint32_t, allStorageBuckets.size()>& bucketRanks() {
    static const auto ranks = [] {
        std::array<std::string_view, allStorageBuckets.size()> titles{};
        for (std::size_t i = 0; i < titles.size(); ++i) {
            titles[i] = title(allStorageBuckets[i]);
        }
        const std::vector<std::uint32_t> ranked = NameRanks::rank(titles);
        std::array<std::uint32_t, allStorageBuckets.size()> result{};
        std::copy(ranked.begin(), ranked.end(), result.begin());
        return result;
    }();
    return ranks;
}

} // namespace

NodeRowsModel::NodeRowsModel(std::vector<Column> columns, const SafetyPolicy& safety, SortKey first,
                             QObject* parent)
    : KeyedRowsModel(std::move(columns), parent)
    , m_safety(safety)
    , m_keys{first} {
    SortedRowsModel::sort(first.column, first.order);
}

std::int64_t NodeRowsModel::bucketRank(StorageBucket bucket) {
    return bucketRanks()[static_cast<std::size_t>(bucket)];
}

void NodeRowsModel::setNameRanks(std::shared_ptr<const NameRanks> ranks) {
    m_ranks = std::move(ranks);
    m_nameKeys.reset();
}

void NodeRowsModel::setNodes(std::shared_ptr<const ScanResult> scan,
                             std::vector<const FileNode*> nodes) {
    m_scan = std::move(scan);
    m_verdicts.assign(nodes.size(), std::nullopt);
    m_icons.assign(nodes.size(), std::nullopt);
    m_nameKeys.reset();
    setRows(std::move(nodes));
}

void NodeRowsModel::sort(int column, Qt::SortOrder order) {
    if (!isSortable(column)) {
        return;
    }
    std::erase_if(m_keys, [column](const SortKey& key) { return key.column == column; });
    m_keys.insert(m_keys.begin(), SortKey{column, order});
    SortedRowsModel::sort(column, order);
}

std::vector<const FileNode*> NodeRowsModel::rowsOf(const std::vector<const FileNode*>& keys) const {
    std::vector<std::pair<int, const FileNode*>> found;
    for (const FileNode* key : keys) {
        if (const int row = rowOf(key); row >= 0) {
            found.emplace_back(row, key);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<const FileNode*> nodes;
    nodes.reserve(found.size());
    for (const auto& [row, node] : found) {
        nodes.push_back(node);
    }
    return nodes;
}

// The kit orders by one integer key: the key of the first column is each row's place in
// the order of all the keys, so the later keys break the first one's ties. The rows are
// ordered by the first key alone, and only runs of equal first keys by the others.
std::vector<std::int64_t> NodeRowsModel::sortKeys(int column) const {
    // Also what the first sort, made while the subclass is not yet built, gets.
    if (rows().empty()) {
        return {};
    }
    if (m_keys.size() == 1 || m_keys.front().column != column) {
        return columnKeys(column);
    }
    const std::size_t count = rows().size();
    const bool ascending = m_keys.front().order == Qt::AscendingOrder;
    std::vector<std::pair<std::int64_t, std::uint32_t>> order(count);
    {
        const std::vector<std::int64_t> first = columnKeys(column);
        for (std::uint32_t i = 0; i < count; ++i) {
            // The complement turns the order round without overflowing.
            order[i] = {ascending ? first[i] : ~first[i], i};
        }
    }
    std::sort(order.begin(), order.end());
    std::vector<std::vector<std::int64_t>> later;
    for (std::size_t k = 1; k < m_keys.size(); ++k) {
        later.push_back(columnKeys(m_keys[k].column));
    }
    const auto byLaterKeys = [&](const auto& a, const auto& b) {
        for (std::size_t k = 0; k < later.size(); ++k) {
            const std::int64_t ka = later[k][a.second];
            const std::int64_t kb = later[k][b.second];
            if (ka != kb) {
                return m_keys[k + 1].order == Qt::AscendingOrder ? ka < kb : ka > kb;
            }
        }
        return a.second < b.second;
    };
    for (auto run = order.begin(); run != order.end();) {
        const auto end = std::find_if(run, order.end(),
                                      [run](const auto& row) { return row.first != run->first; });
        if (end - run > 1) {
            std::sort(run, end, byLaterKeys);
        }
        run = end;
    }
    std::vector<std::int64_t> places(count);
    for (std::size_t place = 0; place < count; ++place) {
        const auto value = static_cast<std::int64_t>(place);
        places[order[place].second] = ascending ? value : -value;
    }
    return places;
}

// By the scan's ranks once they are known; until then the rows' names are ranked here.
// Kept until the rows or the ranks change: a look-up in the scan's ranks misses the cache.
std::vector<std::int64_t> NodeRowsModel::nameKeys() const {
    if (m_nameKeys) {
        return *m_nameKeys;
    }
    const std::vector<const FileNode*>& nodes = rows();
    std::vector<std::int64_t> keys(nodes.size());
    if (m_ranks != nullptr) {
        std::transform(nodes.begin(), nodes.end(), keys.begin(),
                       [this](const FileNode* node) { return m_ranks->rankOf(node); });
        m_nameKeys = keys;
        return keys;
    }
    std::vector<std::string_view> names(nodes.size());
    std::transform(nodes.begin(), nodes.end(), names.begin(),
                   [](const FileNode* node) { return node->name(); });
    const std::vector<std::uint32_t> ranks = NameRanks::rank(names);
    std::copy(ranks.begin(), ranks.end(), keys.begin());
    return keys;
}

QVariant NodeRowsModel::riskData(std::size_t source, int role) const {
    switch (role) {
    case RiskRole:
        return static_cast<int>(verdictAt(source).risk);
    case Qt::DisplayRole:
        return RiskBadge::riskTitle(verdictAt(source).risk);
    case Qt::ToolTipRole:
        return QString::fromStdString(verdictAt(source).reason);
    default:
        return {};
    }
}

const SafetyVerdict& NodeRowsModel::verdictAt(std::size_t source) const {
    std::optional<SafetyVerdict>& verdict = m_verdicts[source];
    if (!verdict) {
        verdict = m_safety.verdict(this->source(source)->path());
    }
    return *verdict;
}

const QIcon& NodeRowsModel::iconAt(std::size_t source) const {
    std::optional<QIcon>& icon = m_icons[source];
    if (!icon) {
        const FileNode& node = *this->source(source);
        icon = FileIcon::icon(node.path(),
                              node.isDirectory() ? FileIcon::Kind::Folder : FileIcon::Kind::File);
    }
    return *icon;
}

} // namespace dorvale
