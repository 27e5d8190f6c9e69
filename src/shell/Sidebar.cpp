#include "shell/Sidebar.hpp"

#include "app/AppState.hpp"
#include "shell/DiskFooter.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "widgets/SectionedList.hpp"
#include "widgets/SectionedListModel.hpp"

#include <QIcon>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <optional>
#include <vector>

namespace dorvale {

namespace {

// The room above History, which has no header of its own.
constexpr int groupGap = Theme::Space::medium;

// The header that opens a group at `section`; History opens a group with none.
std::optional<QString> groupHeader(AppSection section) {
    switch (section) {
    case AppSection::SmartClean:
        return Sidebar::tr("Simple");
    case AppSection::Overview:
        return Sidebar::tr("Analyze");
    case AppSection::Apps:
        return Sidebar::tr("Apps");
    case AppSection::Junk:
        return Sidebar::tr("Clean Up");
    default:
        return std::nullopt;
    }
}

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

// The sections in their groups. The groups stay open and their headers are disabled, so the
// arrow keys move from row to row over them.
class SidebarModel final : public SectionedListModel {
public:
    explicit SidebarModel(qreal pixelRatio, QObject* parent)
        : SectionedListModel(parent) {
        std::vector<Section> groups;
        for (const AppSection section : allAppSections) {
            const std::optional<QString> header = groupHeader(section);
            if (header || section == AppSection::History || groups.empty()) {
                groups.push_back({header.value_or(QString()), 0});
                m_members.emplace_back();
            }
            ++groups.back().entries;
            const QString symbol = fromView(symbolName(section));
            m_members.back().push_back(
                {section, QIcon(Symbols::pixmap(symbol, SectionedList::iconSize, Theme::accent(),
                                                pixelRatio))});
        }
        setSections(std::move(groups));
    }

    [[nodiscard]] QModelIndex rowOf(AppSection wanted) const {
        for (std::size_t group = 0; group < m_members.size(); ++group) {
            const auto& members = m_members[group];
            for (std::size_t entry = 0; entry < members.size(); ++entry) {
                if (members[entry].section == wanted) {
                    return entryIndex(static_cast<int>(group), static_cast<int>(entry));
                }
            }
        }
        return {};
    }

protected:
    [[nodiscard]] QVariant entryData(int group, int entry, int role) const override {
        const Entry& shown =
            m_members[static_cast<std::size_t>(group)][static_cast<std::size_t>(entry)];
        const AppSection section = shown.section;
        switch (role) {
        case Qt::DisplayRole:
            return title(section);
        case Qt::DecorationRole:
            return shown.icon;
        case Sidebar::symbolRole:
            return fromView(symbolName(section));
        case Sidebar::sectionRole:
            return fromView(rawValue(section));
        default:
            return {};
        }
    }

    [[nodiscard]] QVariant headerData(int group, int role) const override {
        const bool gap = sections()[static_cast<std::size_t>(group)].title.isEmpty();
        return role == Qt::SizeHintRole && gap ? QVariant(QSize(0, groupGap)) : QVariant();
    }

    [[nodiscard]] Qt::ItemFlags headerFlags(int) const override { return Qt::NoItemFlags; }

private:
    struct Entry {
        AppSection section;
        QIcon icon;
    };

    std::vector<std::vector<Entry>> m_members;
};

Sidebar::Sidebar(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_model(new SidebarModel(devicePixelRatioF(), this))
    , m_list(new SectionedList) {
    setObjectName(QStringLiteral("sidebar"));
    m_list->setObjectName(QStringLiteral("sectionList"));
    m_list->setAccessibleName(tr("Sections"));
    m_list->setModel(m_model);
    m_list->expandSections();
    m_list->setItemsExpandable(false);

    auto* footer = new DiskFooter(m_state);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list, 1);
    auto* footerBox = new QVBoxLayout;
    footerBox->setContentsMargins(Theme::Space::medium, Theme::Space::medium, Theme::Space::medium,
                                  Theme::Space::medium);
    footerBox->addWidget(footer);
    layout->addLayout(footerBox);

    selectCurrentSection();
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Sidebar::rowPicked);
    connect(&m_state, &AppState::sectionChanged, this, &Sidebar::selectCurrentSection);
}

QModelIndex Sidebar::row(AppSection section) const {
    return m_model->rowOf(section);
}

void Sidebar::selectCurrentSection() {
    QItemSelectionModel* selection = m_list->selectionModel();
    const QSignalBlocker blocker(selection);
    selection->setCurrentIndex(row(m_state.section()), QItemSelectionModel::ClearAndSelect);
    m_list->viewport()->update();
}

void Sidebar::rowPicked() {
    const QModelIndexList picked = m_list->selectionModel()->selectedIndexes();
    const std::optional<AppSection> section =
        picked.size() == 1
            ? appSectionFromRaw(picked.constFirst().data(sectionRole).toString().toStdString())
            : std::nullopt;
    if (!section) {
        // A row was unselected (Ctrl+click): the section stays, and so does its row.
        selectCurrentSection();
        return;
    }
    if (*section != m_state.section()) {
        m_state.setSection(*section);
    }
}

} // namespace dorvale
