#include "cleanup/DuplicatesModel.hpp"

#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "model/MatchingPath.hpp"
#include "platform/Formatters.hpp"
#include "style/FileIcon.hpp"

#include <algorithm>
#include <utility>

namespace dorvale {

namespace {

DuplicateGroup liveCopies(const DuplicateGroup& group) {
    DuplicateGroup live{.id = group.id, .size = group.size, .files = {}};
    std::copy_if(group.files.begin(), group.files.end(), std::back_inserter(live.files),
                 [](const FileNode* file) { return !file->deleted(); });
    return live;
}

} // namespace

DuplicatesModel::DuplicatesModel(const Locations& locations, QObject* parent)
    : SectionedListModel(parent)
    , m_locations(locations) {}

void DuplicatesModel::setGroups(std::shared_ptr<const ScanResult> scan,
                                const std::vector<DuplicateGroup>& groups) {
    m_scan = std::move(scan);
    m_groups.clear();
    std::vector<Section> sections;
    for (const DuplicateGroup& group : groups) {
        DuplicateGroup live = liveCopies(group);
        if (live.files.size() < 2) {
            continue;
        }
        sections.push_back(
            {tr("%1 copies · %2 each").arg(QString::number(live.files.size()), byteText(live.size)),
             live.files.size()});
        m_groups.push_back(std::move(live));
    }
    setSections(std::move(sections));
    for (int section = 0; section < static_cast<int>(m_groups.size()); ++section) {
        makeEntries(section);
    }
}

const FileNode* DuplicatesModel::fileAt(const QModelIndex& index) const {
    if (!index.isValid() || isHeader(index) || isMoreRow(index)) {
        return nullptr;
    }
    return m_groups[static_cast<std::size_t>(sectionOf(index))]
        .files[static_cast<std::size_t>(index.row())];
}

std::int64_t DuplicatesModel::recoverable() const {
    std::int64_t bytes = 0;
    for (const DuplicateGroup& group : m_groups) {
        bytes += group.reclaimable();
    }
    return bytes;
}

std::vector<const FileNode*> DuplicatesModel::selectedFiles() const {
    std::vector<const FileNode*> files;
    if (m_selected.empty()) {
        return files;
    }
    for (const DuplicateGroup& group : m_groups) {
        std::copy_if(group.files.begin(), group.files.end(), std::back_inserter(files),
                     [this](const FileNode* file) { return m_selected.contains(file); });
    }
    return files;
}

bool DuplicatesModel::selectionTakesAWholeGroup() const {
    return std::any_of(m_groups.begin(), m_groups.end(), [this](const DuplicateGroup& group) {
        return std::all_of(group.files.begin(), group.files.end(),
                           [this](const FileNode* file) { return m_selected.contains(file); });
    });
}

void DuplicatesModel::setSelected(std::unordered_set<const FileNode*> selected) {
    m_selected = std::move(selected);
    announceChecks();
}

void DuplicatesModel::selectAllCopies() {
    std::unordered_set<const FileNode*> copies;
    for (const DuplicateGroup& group : m_groups) {
        copies.insert(std::next(group.files.begin()), group.files.end());
    }
    setSelected(std::move(copies));
}

// Every entry's check box may have changed.
void DuplicatesModel::announceChecks() {
    for (int section = 0; section < static_cast<int>(m_groups.size()); ++section) {
        const int rows = rowCount(sectionIndex(section));
        if (rows > 0) {
            emit dataChanged(index(0, 0, sectionIndex(section)),
                             index(rows - 1, 0, sectionIndex(section)), {Qt::CheckStateRole});
        }
    }
    emit selectionChanged();
}

bool DuplicatesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const FileNode* file = fileAt(index);
    if (file == nullptr || role != Qt::CheckStateRole) {
        return false;
    }
    if (value.value<Qt::CheckState>() == Qt::Checked) {
        m_selected.insert(file);
    } else {
        m_selected.erase(file);
    }
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit selectionChanged();
    return true;
}

Qt::ItemFlags DuplicatesModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = SectionedListModel::flags(index);
    return fileAt(index) != nullptr ? flags | Qt::ItemIsUserCheckable : flags;
}

// The sections stay open, so the arrow keys pass over their headers.
Qt::ItemFlags DuplicatesModel::headerFlags(int) const {
    return Qt::NoItemFlags;
}

QVariant DuplicatesModel::entryData(int section, int entry, int role) const {
    const FileNode& file =
        *m_groups[static_cast<std::size_t>(section)].files[static_cast<std::size_t>(entry)];
    switch (role) {
    case Qt::DisplayRole:
        return pathText(file.name());
    case Qt::AccessibleTextRole:
        return entry == 0 ? tr("%1, suggested original").arg(pathText(file.name()))
                          : pathText(file.name());
    case DetailRole:
        return shownPath(file.path(), m_locations);
    case Qt::ToolTipRole:
        return pathText(MatchingPath::ofRealPath(file.path(), m_locations.dataVolume).text());
    case Qt::DecorationRole:
        return FileIcon::icon(std::string(file.name()), FileIcon::Kind::File);
    case Qt::CheckStateRole:
        return m_selected.contains(&file) ? Qt::Checked : Qt::Unchecked;
    case SuggestedRole:
        return entry == 0;
    case DateRole:
        return QString::fromStdString(shortDateText(file.modified()));
    default:
        return {};
    }
}

} // namespace dorvale
