#include "gallery/Gallery.hpp"
#include "model/Risk.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/CellDelegate.hpp"
#include "widgets/KeyedRowsModel.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/SectionedList.hpp"
#include "widgets/SectionedListModel.hpp"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTableView>
#include <QtTest>

namespace dorvale {

namespace {

const QString longName = QStringLiteral(
    "Holiday recordings from the summer in the mountains, edited and exported again.mov");
const QString longPath = QStringLiteral(
    "/home/a/Videos/Family/2024 Summer in the mountains/Exports/Edited again for the relatives/"
    "Holiday recordings.mov");

struct File {
    QString name;
    QString path;
    qint64 size;
    Risk risk;
};

enum Column { Name, Size, Safety };

class FileRows : public KeyedRowsModel<File, QString> {
public:
    FileRows()
        : KeyedRowsModel({{QStringLiteral("Name")},
                          {QStringLiteral("Size"), true, Qt::AlignRight | Qt::AlignVCenter},
                          {QStringLiteral("Safety"), false}}) {}

protected:
    QString keyOf(const File& file) const override { return file.path; }
    std::vector<std::int64_t> sortKeys(int) const override {
        std::vector<std::int64_t> keys;
        for (const File& file : rows()) {
            keys.push_back(file.size);
        }
        return keys;
    }
    QVariant cellData(std::size_t index, int column, int role) const override {
        const File& file = source(index);
        switch (role) {
        case Qt::DisplayRole:
            return column == Name ? QVariant(file.name) : QVariant();
        case Qt::DecorationRole:
            return column == Name ? QVariant(Symbols::icon(QStringLiteral("doc.text"))) : QVariant();
        case DetailRole:
            return file.path;
        case SizeRole:
            return column == Size ? QVariant(file.size) : QVariant();
        case LargestSizeRole:
            return largest;
        case RiskRole:
            return column == Safety ? QVariant(static_cast<int>(file.risk)) : QVariant();
        default:
            return {};
        }
    }

public:
    qint64 largest = 0;
};

class Groups : public SectionedListModel {
public:
    using SectionedListModel::SectionedListModel;

protected:
    QVariant entryData(int section, int entry, int role) const override {
        if (role == Qt::DecorationRole) {
            return Symbols::icon(QStringLiteral("folder"));
        }
        return role == Qt::DisplayRole ? QVariant(section == 0 && entry == 0
                                                      ? longName
                                                      : QStringLiteral("Entry %1").arg(entry + 1))
                                       : QVariant();
    }
};

} // namespace

// The kit's sectioned list and a table painted by its delegates, with long names, a list
// whose largest size is zero and a section past its cap. With DORVALE_GALLERY_DIR set, the
// pictures are written there to be looked at.
class ListKitGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void lists_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("narrow") << QSize(640, 420);
        QTest::newRow("wide") << QSize(1400, 800);
    }

    void lists() {
        QFETCH(QSize, size);
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        Groups groups;
        groups.setSections(
            {{QStringLiteral("Caches and temporary files of every program you use"), 2},
             {QStringLiteral("Logs"), 305}});
        auto* sections = new SectionedList;
        sections->setModel(&groups);
        sections->expandSections();
        sections->setFixedWidth(220);
        layout->addWidget(sections);

        FileRows files;
        files.largest = 4'000'000'000;
        files.setRows(
            {{longName, longPath, 4'000'000'000, Risk::Safe},
             {QStringLiteral("notes.txt"), QStringLiteral("/home/a/notes.txt"), 2'000,
              Risk::Review},
             {QStringLiteral("empty"), QStringLiteral("/home/a/empty"), 0, Risk::Protected}});
        auto* table = tableOver(files);
        layout->addWidget(table, 1);
        FileRows zero;
        zero.setRows({{QStringLiteral("nothing.bin"), QStringLiteral("/home/a/nothing.bin"), 0,
                       Risk::Safe}});
        layout->addWidget(tableOver(zero), 1);

        window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        table->selectRow(1);
        sections->scrollToBottom();
        test::savePicture(
            window,
            QStringLiteral("list-kit-%1").arg(QString::fromLatin1(QTest::currentDataTag())));
        QCOMPARE(test::clippedWidgets(window).join(QStringLiteral("; ")), QString());
    }

private:
    static QTableView* tableOver(FileRows& rows) {
        auto* table = new QTableView;
        table->setModel(&rows);
        rows.bindHeader(*table->horizontalHeader());
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->verticalHeader()->hide();
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->verticalHeader()->setDefaultSectionSize(NameDelegate::rowHeight(table->font()));
        table->setItemDelegateForColumn(Name, new NameDelegate(table));
        table->setItemDelegateForColumn(Size, new SizeBarDelegate(table));
        table->setItemDelegateForColumn(Safety, new RiskDelegate(false, table));
        table->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
        table->setColumnWidth(Size, 180);
        return table;
    }
};

DORVALE_QT_TEST(ListKitGalleryTest)

} // namespace dorvale

#include "ListKitGalleryTest.moc"
