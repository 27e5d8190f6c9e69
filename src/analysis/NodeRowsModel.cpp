#include "analysis/NodeRowsModel.hpp"

#include "app/ByteText.hpp"
#include "app/RunInBackground.hpp"
#include "style/FileIcon.hpp"
#include "style/Theme.hpp"
#include "widgets/KeyOrder.hpp"
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

// Whether the verdict of `node` reads the disk; its name ends its path.
bool readsDisk(const FileNode& node) {
    return SafetyPolicy::verdictReadsDisk(node.name());
}

} // namespace

NodeRowsModel::NodeRowsModel(std::vector<Column> columns, const SafetyPolicy& safety, SortKey first,
                             int riskColumn, QObject* parent)
    : KeyedRowsModel(std::move(columns), parent)
    , m_safety(safety)
    , m_riskColumn(riskColumn)
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
    judgeInBackground();
}

// The verdicts that read the disk, for the rows just set; a late answer for rows that have
// been replaced since is dropped.
void NodeRowsModel::judgeInBackground() {
    const std::uint64_t generation = ++m_generation;
    std::vector<std::size_t> sources;
    std::vector<std::string> paths;
    for (std::size_t source = 0; source < rows().size(); ++source) {
        if (readsDisk(*rows()[source])) {
            sources.push_back(source);
            paths.push_back(rows()[source]->path());
        }
    }
    if (paths.empty()) {
        return;
    }
    runInBackground(
        this,
        [safety = &m_safety, paths = std::move(paths)] {
            std::vector<SafetyVerdict> verdicts;
            verdicts.reserve(paths.size());
            for (const std::string& path : paths) {
                verdicts.push_back(safety->verdict(path));
            }
            return verdicts;
        },
        [this, generation, sources = std::move(sources)](std::vector<SafetyVerdict> verdicts) {
            if (generation != m_generation) {
                return;
            }
            for (std::size_t i = 0; i < sources.size(); ++i) {
                m_verdicts[sources[i]] = std::move(verdicts[i]);
            }
            emit dataChanged(index(0, m_riskColumn), index(rowCount() - 1, m_riskColumn),
                             {Qt::DisplayRole, Qt::ToolTipRole, RiskRole});
        });
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

std::vector<std::int64_t> NodeRowsModel::sortKeys(int column) const {
    // Also what the first sort, made while the subclass is not yet built, gets.
    if (rows().empty()) {
        return {};
    }
    return columnKeys(column);
}

// By every key in turn, then by source index; a key's column keys are made only while rows
// still tie on the keys before it.
std::vector<std::uint32_t> NodeRowsModel::orderBy(int column, Qt::SortOrder order) const {
    if (m_keys.size() == 1 || rows().empty() || !isSortable(column)) {
        return SortedRowsModel::orderBy(column, order);
    }
    Q_ASSERT(m_keys.front() == (SortKey{column, order}));
    std::vector<OrderKey> keys;
    keys.reserve(m_keys.size());
    for (const SortKey& key : m_keys) {
        keys.push_back({[this, column = key.column] { return columnKeys(column); }, key.order});
    }
    return keyOrder(rows().size(), keys);
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

QVariant NodeRowsModel::sizeData(const FileNode& node, int role, std::int64_t largest) {
    switch (role) {
    case Qt::DisplayRole:
        return byteText(node.size());
    case SizeRole:
        return qint64{node.size()};
    case LargestSizeRole:
        return qint64{std::max<std::int64_t>(largest, 1)};
    case BarColorRole:
        return Theme::bucketColor(node.bucket());
    default:
        return {};
    }
}

QVariant NodeRowsModel::riskData(std::size_t source, int role) const {
    const SafetyVerdict* verdict = verdictAt(source);
    if (verdict == nullptr) {
        return {};
    }
    switch (role) {
    case RiskRole:
        return static_cast<int>(verdict->risk);
    case Qt::DisplayRole:
        return RiskBadge::riskTitle(verdict->risk);
    case Qt::ToolTipRole:
        return QString::fromStdString(verdict->reason);
    default:
        return {};
    }
}

const SafetyVerdict* NodeRowsModel::verdictAt(std::size_t source) const {
    std::optional<SafetyVerdict>& verdict = m_verdicts[source];
    if (!verdict) {
        const FileNode& node = *this->source(source);
        if (readsDisk(node)) {
            return nullptr;
        }
        verdict = m_safety.verdict(node.path());
    }
    return &*verdict;
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
