#include "cleanup/JunkModel.hpp"

#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "cleanup/JunkGroups.hpp"
#include "platform/Formatters.hpp"
#include "platform/Paths.hpp"
#include "style/FileIcon.hpp"
#include "widgets/ListRoles.hpp"

#include <QByteArray>

#include <algorithm>
#include <utility>

namespace dorvale {

namespace {

QString fromStd(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray bytesOf(const std::string& text) {
    return {text.data(), static_cast<qsizetype>(text.size())};
}

QString removalText(Removal removal) {
    return removal == Removal::Trash ? JunkModel::tr("Moved to Trash")
                                     : JunkModel::tr("Deleted immediately");
}

} // namespace

JunkModel::JunkModel(Locations locations, QObject* parent)
    : SectionedListModel(parent)
    , m_locations(std::move(locations)) {}

void JunkModel::setJunk(const std::vector<JunkFinding>& junk) {
    m_junk = &junk;
    m_selection.setJunk(junk);
    m_groups.clear();
    std::vector<Section> sections;
    for (const JunkGroupFindings& shown : groupedJunk(junk)) {
        Group group{.group = shown.group, .findings = {}};
        for (const JunkFinding* finding : shown.findings) {
            group.findings.push_back(static_cast<std::size_t>(finding - junk.data()));
        }
        sections.push_back({junkGroupTitle(shown.group), group.findings.size()});
        m_groups.push_back(std::move(group));
    }
    setSections(std::move(sections));
}

void JunkModel::clearSelection() {
    m_selection.clear();
    everyTickChanged();
}

void JunkModel::pruneSelection() {
    m_selection.prune();
    emit selectionChanged();
}

QModelIndex JunkModel::ruleIndex(const std::string& ruleId) const {
    for (std::size_t section = 0; section < m_groups.size(); ++section) {
        const std::vector<std::size_t>& findings = m_groups[section].findings;
        for (std::size_t entry = 0; entry < findings.size(); ++entry) {
            if ((*m_junk)[findings[entry]].rule.id == ruleId) {
                return entryIndex(static_cast<int>(section), static_cast<int>(entry));
            }
        }
    }
    return {};
}

bool JunkModel::isRule(const QModelIndex& index) {
    return index.isValid() && !isHeader(index) && !isSubEntry(index);
}

bool JunkModel::isItem(const QModelIndex& index) const {
    return isSubEntry(index) && !isMoreRow(index);
}

const JunkFinding* JunkModel::findingAt(const QModelIndex& index) const {
    if (!index.isValid() || isHeader(index) || (isRule(index) && isMoreRow(index))) {
        return nullptr;
    }
    return &findingOf(sectionOf(index), entryOf(index));
}

const JunkItem* JunkModel::itemAt(const QModelIndex& index) const {
    if (!isItem(index)) {
        return nullptr;
    }
    return &findingOf(sectionOf(index), entryOf(index))
                .items[static_cast<std::size_t>(index.row())];
}

std::size_t JunkModel::positionOf(int section, int entry) const {
    return m_groups[static_cast<std::size_t>(section)].findings[static_cast<std::size_t>(entry)];
}

const JunkFinding& JunkModel::findingOf(int section, int entry) const {
    return (*m_junk)[positionOf(section, entry)];
}

QVariant JunkModel::headerData(int section, int role) const {
    return role == SymbolRole
               ? QVariant(junkGroupSymbol(m_groups[static_cast<std::size_t>(section)].group))
               : QVariant();
}

Qt::ItemFlags JunkModel::headerFlags(int) const {
    return Qt::NoItemFlags;
}

QVariant JunkModel::entryData(int section, int entry, int role) const {
    const std::size_t position = positionOf(section, entry);
    const JunkFinding& finding = (*m_junk)[position];
    const JunkRule& rule = finding.rule;
    switch (role) {
    case Qt::DisplayRole:
        return fromStd(rule.title);
    case Qt::CheckStateRole:
        return m_selection.isFullySelected(position) ? Qt::Checked : Qt::Unchecked;
    case DimmedRole: {
        const std::size_t ticked = m_selection.selectedIn(position);
        return ticked > 0 && ticked < finding.items.size();
    }
    case RiskRole:
        return static_cast<int>(rule.risk);
    case RemovalRole:
        return removalText(rule.removal);
    case ExplanationRole:
        return fromStd(rule.explanation);
    case CountTextRole:
        return tr("%1 items").arg(static_cast<qulonglong>(finding.items.size()));
    case SizeTextRole:
        return byteText(finding.totalSize());
    case KeyRole:
        return bytesOf(rule.id);
    case Qt::AccessibleTextRole:
        return fromStd(rule.title);
    case Qt::AccessibleDescriptionRole:
        return QStringLiteral("%1 · %2 · %3 · %4")
            .arg(fromStd(rule.explanation), removalText(rule.removal),
                 tr("%1 items").arg(static_cast<qulonglong>(finding.items.size())),
                 byteText(finding.totalSize()));
    default:
        return {};
    }
}

Qt::ItemFlags JunkModel::entryFlags(int, int) const {
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

std::size_t JunkModel::subEntryCount(int section, int entry) const {
    return findingOf(section, entry).items.size();
}

QVariant JunkModel::subEntryData(int section, int entry, int subEntry, int role) const {
    const JunkItem& item = findingOf(section, entry).items[static_cast<std::size_t>(subEntry)];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return pathText(lastComponent(item.id));
    case Qt::DecorationRole:
        return itemIcon(item.id);
    case Qt::CheckStateRole:
        return m_selection.contains(item.id) ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole:
        return shownPath(item.id, m_locations);
    case SizeTextRole:
        return byteText(item.size);
    case DateTextRole:
        return item.modified ? QVariant(fromStd(shortDateText(*item.modified))) : QVariant();
    case KeyRole:
        return bytesOf(item.id);
    default:
        return {};
    }
}

Qt::ItemFlags JunkModel::subEntryFlags(int, int, int) const {
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

// Icons are chosen by name, but a folder is told by a look at the disk: once per item.
QIcon JunkModel::itemIcon(const std::string& path) const {
    auto found = m_icons.find(path);
    if (found == m_icons.end()) {
        found = m_icons.emplace(path, FileIcon::icon(path)).first;
    }
    return found->second;
}

bool JunkModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !(flags(index) & Qt::ItemIsUserCheckable)) {
        return false;
    }
    const bool ticked = value.value<Qt::CheckState>() == Qt::Checked;
    const int section = sectionOf(index);
    const int entry = entryOf(index);
    if (isRule(index)) {
        m_selection.setFinding(positionOf(section, entry), ticked);
        ruleTicksChanged(section, entry);
    } else {
        m_selection.setItem(positionOf(section, entry), static_cast<std::size_t>(index.row()),
                            ticked);
        emit dataChanged(index, index, {Qt::CheckStateRole});
        const QModelIndex rule = index.parent();
        emit dataChanged(rule, rule, {Qt::CheckStateRole, DimmedRole});
    }
    emit selectionChanged();
    return true;
}

void JunkModel::ruleTicksChanged(int section, int entry) {
    const QModelIndex rule = entryIndex(section, entry);
    emit dataChanged(rule, rule, {Qt::CheckStateRole, DimmedRole});
    const int shown = std::min(rowCount(rule), maxShown);
    if (shown > 0) {
        emit dataChanged(index(0, 0, rule), index(shown - 1, 0, rule), {Qt::CheckStateRole});
    }
}

void JunkModel::everyTickChanged() {
    for (std::size_t section = 0; section < m_groups.size(); ++section) {
        const auto entries = static_cast<int>(m_groups[section].findings.size());
        for (int entry = 0;
             entry < entries && entryIndex(static_cast<int>(section), entry).isValid(); ++entry) {
            ruleTicksChanged(static_cast<int>(section), entry);
        }
    }
    emit selectionChanged();
}

} // namespace dorvale
