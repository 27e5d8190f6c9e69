#include "support/qt/QtTests.hpp"
#include "widgets/KeySelection.hpp"
#include "widgets/KeyedRowsModel.hpp"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include <string>
#include <vector>

namespace dorvale {

namespace {

struct Item {
    std::string id;
    std::int64_t size;
    std::int64_t group;
};

enum Column { Id, Size, Group, Note };

// A list of records keyed by id: size and group sort, the note does not.
class ItemModel : public KeyedRowsModel<Item, std::string> {
public:
    ItemModel()
        : KeyedRowsModel({{QStringLiteral("Id")},
                          {QStringLiteral("Size")},
                          {QStringLiteral("Group")},
                          {QStringLiteral("Note"), false}}) {}

protected:
    std::string keyOf(const Item& item) const override { return item.id; }
    std::vector<std::int64_t> sortKeys(int column) const override {
        std::vector<std::int64_t> keys;
        for (const Item& item : rows()) {
            keys.push_back(column == Size ? item.size : item.group);
        }
        return keys;
    }
    QVariant cellData(std::size_t source, int column, int role) const override {
        if (role != Qt::DisplayRole) {
            return {};
        }
        const Item& item = this->source(source);
        switch (column) {
        case Id:
            return QString::fromStdString(item.id);
        case Size:
            return QVariant::fromValue(item.size);
        default:
            return QVariant::fromValue(item.group);
        }
    }
};

// a..f in source order; sizes with ties (b = d, c = e = f), groups in two runs.
std::vector<Item> items() {
    return {{"a", 5, 1}, {"b", 3, 2}, {"c", 9, 1}, {"d", 3, 2}, {"e", 9, 1}, {"f", 9, 2}};
}

std::string order(const ItemModel& model) {
    std::string ids;
    for (int row = 0; row < model.rowCount(); ++row) {
        ids += model.keyAt(row);
    }
    return ids;
}

using Selection = KeySelection<Item, std::string>;

// A table over the items with the selection kept by key.
struct List {
    List() {
        model.setRows(items());
        view.setModel(&model);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setSelectionMode(QAbstractItemView::ExtendedSelection);
        model.bindHeader(*view.horizontalHeader());
        selection = new Selection(model, *view.selectionModel());
        view.resize(400, 300);
        view.show();
    }

    [[nodiscard]] std::vector<int> selectedRows() const {
        std::vector<int> rows;
        for (const QModelIndex& index : view.selectionModel()->selectedRows()) {
            rows.push_back(index.row());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    [[nodiscard]] std::vector<int> rowsOf(const std::vector<std::string>& keys) const {
        std::vector<int> rows;
        for (const std::string& key : keys) {
            rows.push_back(model.rowOf(key));
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void click(int row, Qt::KeyboardModifiers modifiers = {}) {
        const QRect cell = view.visualRect(model.index(row, Id));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    ItemModel model;
    QTableView view;
    Selection* selection;
};

} // namespace

class SortedListTest : public QObject {
    Q_OBJECT

private slots:
    void sortsByKeyWithTiesInSourceOrder_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<Qt::SortOrder>("order");
        QTest::addColumn<QString>("ids");
        // Where a seventh item (size 9, group 1) lands once added by a reset.
        QTest::addColumn<int>("added");
        QTest::newRow("size up") << int(Size) << Qt::AscendingOrder << "bdacef" << 6;
        QTest::newRow("size down") << int(Size) << Qt::DescendingOrder << "cefabd" << 3;
        QTest::newRow("group up") << int(Group) << Qt::AscendingOrder << "acebdf" << 3;
        QTest::newRow("group down") << int(Group) << Qt::DescendingOrder << "bdface" << 6;
        // An unsortable or unknown column leaves the previous order (size, descending).
        QTest::newRow("unsortable") << int(Note) << Qt::AscendingOrder << "cefabd" << 3;
        QTest::newRow("no column") << 9 << Qt::AscendingOrder << "cefabd" << 3;
    }

    void sortsByKeyWithTiesInSourceOrder() {
        QFETCH(int, column);
        QFETCH(Qt::SortOrder, order);
        QFETCH(QString, ids);
        QFETCH(int, added);
        ItemModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setRows(items());
        QCOMPARE(dorvale::order(model), std::string("abcdef"));
        model.sort(Size, Qt::DescendingOrder);
        model.sort(column, order);
        QCOMPARE(QString::fromStdString(dorvale::order(model)), ids);
        // A reset keeps the order: new rows are shown sorted too.
        std::vector<Item> more = items();
        more.push_back({"g", 9, 1});
        model.setRows(std::move(more));
        QCOMPARE(model.rowOf("g"), added);
        QCOMPARE(model.rowOf("missing"), -1);
    }

    void aSortIsOneLayoutChangeThatMovesPersistentIndexes() {
        ItemModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setRows(items());
        const QPersistentModelIndex c = model.index(2, Size);
        QSignalSpy layouts(&model, &QAbstractItemModel::layoutChanged);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);
        model.sort(Size, Qt::DescendingOrder);
        QCOMPARE(layouts.count(), 1);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(cells.count(), 0);
        QCOMPARE(c.row(), 0);
        QCOMPARE(c.column(), int(Size));
        QCOMPARE(c.data().toLongLong(), 9);
    }

    void anUnsortableColumnPutsTheIndicatorBack() {
        List list;
        QHeaderView& header = *list.view.horizontalHeader();
        header.setSortIndicator(Size, Qt::DescendingOrder);
        QCOMPARE(order(list.model), std::string("cefabd"));
        QSignalSpy layouts(&list.model, &QAbstractItemModel::layoutChanged);
        header.setSortIndicator(Note, Qt::AscendingOrder);
        QCOMPARE(header.sortIndicatorSection(), int(Size));
        QCOMPARE(header.sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(layouts.count(), 0);
    }

    void theSelectionFollowsItsKeysAcrossSortsAndRebuilds() {
        List list;
        list.selection->setKeys({"b", "e"});
        QCOMPARE(list.selectedRows(), (std::vector<int>{1, 4}));
        list.model.sort(Size, Qt::DescendingOrder);
        QCOMPARE(list.selectedRows(), list.rowsOf({"b", "e"}));
        // A rebuild without "e": the key stays but counts nowhere, and returns with its row.
        std::vector<Item> fewer = items();
        fewer.erase(fewer.begin() + 4);
        list.model.setRows(fewer);
        QCOMPARE(list.selectedRows(), list.rowsOf({"b"}));
        QCOMPARE(list.selection->liveKeys(), (std::vector<std::string>{"b"}));
        QVERIFY(list.selection->contains("e"));
        list.model.setRows(items());
        QCOMPARE(list.selectedRows(), list.rowsOf({"b", "e"}));
    }

    void onlyTheUsersChangesComeBack() {
        List list;
        list.selection->setKeys({"a"});
        QSignalSpy changes(list.selection, &RowSelection::changed);
        list.model.sort(Size, Qt::AscendingOrder);
        list.model.setRows(items());
        QCOMPARE(changes.count(), 0);
        list.click(list.model.rowOf("c"), Qt::ControlModifier);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(list.selection->keys(), (std::unordered_set<std::string>{"a", "c"}));
        list.click(list.model.rowOf("a"), Qt::ControlModifier);
        QCOMPARE(list.selection->keys(), (std::unordered_set<std::string>{"c"}));
        // A plain click replaces the selection, a vanished key included.
        list.selection->setKeys({"c", "gone"});
        list.click(list.model.rowOf("f"));
        QCOMPARE(list.selection->keys(), (std::unordered_set<std::string>{"f", "gone"}));
    }

    void aRowMenuActsOnTheSelectionOnlyFromInsideIt() {
        List list;
        list.selection->setKeys({"b", "d", "gone"});
        QCOMPARE(list.selection->menuKeys(list.model.rowOf("d")),
                 (std::vector<std::string>{"b", "d"}));
        QCOMPARE(list.selection->menuKeys(list.model.rowOf("c")), (std::vector<std::string>{"c"}));
    }
};

DORVALE_QT_TEST(SortedListTest)

} // namespace dorvale

#include "SortedListTest.moc"
