#include "shell/Sidebar.hpp"

#include "app/AppState.hpp"
#include "shell/DiskFooter.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QAbstractItemView>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

namespace dorvale {

namespace {

constexpr int iconSize = 16;
// The gap above History, which has no header of its own.
constexpr int groupGap = Theme::Space::medium;
constexpr int rowHeight = 28;
constexpr int headerHeight = 28;
constexpr int listMargin = Theme::Space::small;
constexpr int rowPadding = Theme::Space::small;
constexpr int iconGap = Theme::Space::small;
constexpr qreal rowRadius = 6;
constexpr qreal selectedOpacity = 0.18;
constexpr qreal hoverOpacity = 0.06;

// Paints the rows as a sidebar does: a rounded highlight behind the selected row, the
// section's symbol in the accent colour and its title; group headers in small secondary
// type at the foot of their room.
class SidebarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRect area = option.rect.adjusted(listMargin, 0, -listMargin, 0);
        const bool header = !(index.flags() & Qt::ItemIsSelectable);
        if (header) {
            paintHeader(*painter, area, option, index);
        } else {
            paintRow(*painter, area, option, index);
        }
        painter->restore();
    }

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override {
        const QVariant own = index.data(Qt::SizeHintRole);
        if (own.isValid()) {
            return own.toSize();
        }
        const bool header = !(index.flags() & Qt::ItemIsSelectable);
        return {option.rect.width(), header ? headerHeight : rowHeight};
    }

private:
    static void paintHeader(QPainter& painter, const QRect& area,
                            const QStyleOptionViewItem& option, const QModelIndex& index) {
        painter.setFont(index.data(Qt::FontRole).value<QFont>());
        painter.setPen(Theme::foreground(*option.widget, Tone::Secondary));
        painter.drawText(area.adjusted(rowPadding, 0, -rowPadding, -Theme::Space::tight),
                         Qt::AlignLeft | Qt::AlignBottom, index.data().toString());
    }

    static void paintRow(QPainter& painter, const QRect& area, const QStyleOptionViewItem& option,
                         const QModelIndex& index) {
        const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
        const QColor text = view->palette().color(QPalette::WindowText);
        if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) {
            const bool selected = option.state & QStyle::State_Selected;
            painter.setPen(Qt::NoPen);
            painter.setBrush(selected ? Theme::withOpacity(Theme::accent(), selectedOpacity)
                                      : Theme::withOpacity(text, hoverOpacity));
            painter.drawRoundedRect(QRectF(area).adjusted(0, 1, 0, -1), rowRadius, rowRadius);
        }
        const QRect icon(area.left() + rowPadding, area.center().y() - iconSize / 2 + 1, iconSize,
                         iconSize);
        index.data(Qt::DecorationRole).value<QIcon>().paint(&painter, icon);
        const QRect label = area.adjusted(rowPadding + iconSize + iconGap, 0, -rowPadding, 0);
        painter.setFont(option.font);
        painter.setPen(text);
        painter.drawText(
            label, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, label.width()));
        if ((option.state & QStyle::State_HasFocus) && view->hasFocus()) {
            painter.setPen(QPen(Theme::withOpacity(Theme::accent(), 0.6), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(area).adjusted(0.5, 1.5, -0.5, -1.5), rowRadius,
                                    rowRadius);
        }
    }
};

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

Sidebar::Sidebar(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_list(new QTreeWidget) {
    setObjectName(QStringLiteral("sidebar"));
    m_list->setObjectName(QStringLiteral("sectionList"));
    m_list->setAccessibleName(tr("Sections"));
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setIndentation(0);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setIconSize(QSize(iconSize, iconSize));
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAutoFillBackground(false);
    m_list->setMouseTracking(true);
    m_list->setItemDelegate(new SidebarDelegate(m_list));
    m_list->setContentsMargins(0, listMargin, 0, 0);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    fillList();

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
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &Sidebar::rowPicked);
    connect(&m_state, &AppState::sectionChanged, this, &Sidebar::selectCurrentSection);
}

QTreeWidgetItem* Sidebar::row(AppSection section) const {
    return m_rows[static_cast<std::size_t>(section)];
}

// One flat list: headers and the gap before History are items that are neither enabled nor
// selectable, so the arrow keys move from row to row over them.
void Sidebar::fillList() {
    const QFont headerFont = Typography::font(TextStyle::Caption, FontWeight::Semibold);
    for (const AppSection section : allAppSections) {
        const std::optional<QString> header = groupHeader(section);
        if (header || section == AppSection::History) {
            auto* item = new QTreeWidgetItem(m_list, QStringList{header.value_or(QString())});
            item->setFlags(Qt::NoItemFlags);
            item->setFont(0, headerFont);
            if (!header) {
                item->setSizeHint(0, QSize(0, groupGap));
            }
        }
        const QString symbol = fromView(symbolName(section));
        auto* row = new QTreeWidgetItem(m_list, QStringList{title(section)});
        row->setIcon(
            0, QIcon(Symbols::pixmap(symbol, iconSize, Theme::accent(), devicePixelRatioF())));
        row->setData(0, symbolRole, symbol);
        row->setData(0, sectionRole, fromView(rawValue(section)));
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_rows[static_cast<std::size_t>(section)] = row;
    }
}

void Sidebar::selectCurrentSection() {
    const QSignalBlocker blocker(m_list);
    QTreeWidgetItem* current = row(m_state.section());
    m_list->setCurrentItem(current);
    current->setSelected(true);
    m_list->viewport()->update();
}

void Sidebar::rowPicked() {
    const QList<QTreeWidgetItem*> picked = m_list->selectedItems();
    const std::optional<AppSection> section =
        picked.size() == 1
            ? appSectionFromRaw(picked.constFirst()->data(0, sectionRole).toString().toStdString())
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
