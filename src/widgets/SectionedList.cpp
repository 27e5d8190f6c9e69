#include "widgets/SectionedList.hpp"

#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/SectionedListModel.hpp"

#include <QPainter>
#include <QStyledItemDelegate>

namespace dorvale {

namespace {

constexpr int rowHeight = 28;
constexpr int headerHeight = 28;
constexpr int listMargin = Theme::Space::small;
constexpr int rowPadding = Theme::Space::small;
constexpr int iconGap = Theme::Space::small;
constexpr qreal rowRadius = 6;
constexpr qreal selectedOpacity = 0.18;
constexpr qreal hoverOpacity = 0.06;
constexpr qreal focusOpacity = 0.6;

class SectionedDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRect area = option.rect.adjusted(listMargin, 0, -listMargin, 0);
        if (SectionedListModel::isHeader(index)) {
            paintHeader(*painter, area, option, index);
        } else {
            paintEntry(*painter, area, option, index);
        }
        painter->restore();
    }

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override {
        const QVariant own = index.data(Qt::SizeHintRole);
        if (own.isValid()) {
            return own.toSize();
        }
        return {option.rect.width(),
                SectionedListModel::isHeader(index) ? headerHeight : rowHeight};
    }

private:
    static void paintHeader(QPainter& painter, const QRect& area,
                            const QStyleOptionViewItem& option, const QModelIndex& index) {
        const QFont font = Typography::font(TextStyle::Caption, FontWeight::Semibold);
        const QRect text = area.adjusted(rowPadding, 0, -rowPadding, -Theme::Space::tight);
        painter.setFont(font);
        painter.setPen(Theme::foreground(*option.widget, Tone::Secondary));
        painter.drawText(
            text, Qt::AlignLeft | Qt::AlignBottom,
            QFontMetrics(font).elidedText(index.data().toString(), Qt::ElideRight, text.width()));
    }

    static void paintEntry(QPainter& painter, const QRect& area, const QStyleOptionViewItem& option,
                           const QModelIndex& index) {
        const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
        const QColor text = view->palette().color(QPalette::WindowText);
        const bool selectable = index.flags() & Qt::ItemIsSelectable;
        if (selectable && (option.state & (QStyle::State_Selected | QStyle::State_MouseOver))) {
            const bool selected = option.state & QStyle::State_Selected;
            painter.setPen(Qt::NoPen);
            painter.setBrush(selected ? Theme::withOpacity(Theme::accent(), selectedOpacity)
                                      : Theme::withOpacity(text, hoverOpacity));
            painter.drawRoundedRect(QRectF(area).adjusted(0, 1, 0, -1), rowRadius, rowRadius);
        }
        const QRect icon(area.left() + rowPadding,
                         area.center().y() - SectionedList::iconSize / 2 + 1,
                         SectionedList::iconSize, SectionedList::iconSize);
        index.data(Qt::DecorationRole).value<QIcon>().paint(&painter, icon);
        const QRect label =
            area.adjusted(rowPadding + SectionedList::iconSize + iconGap, 0, -rowPadding, 0);
        painter.setFont(option.font);
        painter.setPen(selectable ? text : Theme::foreground(*option.widget, Tone::Secondary));
        painter.drawText(
            label, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, label.width()));
        if ((option.state & QStyle::State_HasFocus) && view->hasFocus()) {
            painter.setPen(QPen(Theme::withOpacity(Theme::accent(), focusOpacity), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(area).adjusted(0.5, 1.5, -0.5, -1.5), rowRadius,
                                    rowRadius);
        }
    }
};

} // namespace

SectionedList::SectionedList(QWidget* parent)
    : QTreeView(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(0);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(iconSize, iconSize));
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setItemDelegate(new SectionedDelegate(this));
    setContentsMargins(0, listMargin, 0, 0);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        auto* sectioned = qobject_cast<SectionedListModel*>(model());
        if (sectioned == nullptr) {
            return;
        }
        if (SectionedListModel::isHeader(index)) {
            sectioned->makeEntries(index.row());
        } else {
            sectioned->makeSubEntries(SectionedListModel::sectionOf(index), index.row());
        }
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (m_sectionsOpen && SectionedListModel::isHeader(index)) {
            expand(index);
        }
    });
}

void SectionedList::setModel(QAbstractItemModel* model) {
    QTreeView::setModel(model);
    if (auto* sectioned = qobject_cast<SectionedListModel*>(model);
        sectioned != nullptr && m_sectionsOpen) {
        sectioned->keepSectionsOpen();
    }
    if (model != nullptr) {
        // After the view's own reset, which closes every row; the model has made the rows.
        connect(model, &QAbstractItemModel::modelReset, this, [this] {
            if (m_sectionsOpen) {
                expandSections();
            }
        });
    }
}

void SectionedList::keepSectionsOpen() {
    m_sectionsOpen = true;
    if (auto* sectioned = qobject_cast<SectionedListModel*>(model())) {
        sectioned->keepSectionsOpen();
    }
    expandSections();
}

void SectionedList::expandSections() {
    const int sections = model() != nullptr ? model()->rowCount() : 0;
    for (int section = 0; section < sections; ++section) {
        expand(model()->index(section, 0));
    }
}

} // namespace dorvale
