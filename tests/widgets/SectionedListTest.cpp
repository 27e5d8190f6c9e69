#include "widgets/SectionedList.hpp"

#include "support/qt/QtTests.hpp"
#include "widgets/SectionedListModel.hpp"

#include <QAbstractItemModelTester>
#include <QtTest>

namespace dorvale {

namespace {

class NumberedModel : public SectionedListModel {
public:
    using SectionedListModel::SectionedListModel;

protected:
    QVariant entryData(int section, int entry, int role) const override {
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("%1.%2").arg(section).arg(entry))
                                       : QVariant();
    }
};

// Sections of two entries each; entry e of section s has `counts[s][e]` sub-entries.
class NestedModel : public SectionedListModel {
public:
    explicit NestedModel(std::vector<std::vector<std::size_t>> counts)
        : m_counts(std::move(counts)) {
        reset();
    }

    void reset() {
        std::vector<Section> sections;
        for (const auto& entries : m_counts) {
            sections.push_back({QStringLiteral("S"), entries.size()});
        }
        setSections(std::move(sections));
    }

protected:
    QVariant entryData(int section, int entry, int role) const override {
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("%1.%2").arg(section).arg(entry))
                                       : QVariant();
    }
    std::size_t subEntryCount(int section, int entry) const override {
        return m_counts[static_cast<std::size_t>(section)][static_cast<std::size_t>(entry)];
    }
    QVariant subEntryData(int section, int entry, int subEntry, int role) const override {
        return role == Qt::DisplayRole
                   ? QVariant(QStringLiteral("%1.%2.%3").arg(section).arg(entry).arg(subEntry))
                   : QVariant();
    }

private:
    std::vector<std::vector<std::size_t>> m_counts;
};

} // namespace

class SectionedListTest : public QObject {
    Q_OBJECT

private slots:
    void entriesAreMadeOnExpandingAndCappedWithACount() {
        NumberedModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setSections({{QStringLiteral("Full"), 300},
                           {QStringLiteral("Over"), 301},
                           {QStringLiteral("Empty"), 0}});
        SectionedList view;
        view.setModel(&model);
        QCOMPARE(model.rowCount(model.sectionIndex(0)), 0);
        QVERIFY(model.hasChildren(model.sectionIndex(0)));
        QVERIFY(!model.hasChildren(model.sectionIndex(2)));
        view.expandSections();
        QCOMPARE(model.rowCount(model.sectionIndex(0)), 300);
        QVERIFY(!model.isMoreRow(model.index(299, 0, model.sectionIndex(0))));
        QCOMPARE(model.rowCount(model.sectionIndex(1)), 301);
        const QModelIndex more = model.index(300, 0, model.sectionIndex(1));
        QVERIFY(model.isMoreRow(more));
        QCOMPARE(more.data().toString(), QStringLiteral("… and 1 more"));
        QVERIFY(!(more.flags() & Qt::ItemIsSelectable));
        QCOMPARE(model.index(299, 0, model.sectionIndex(1)).data().toString(),
                 QStringLiteral("1.299"));
        QVERIFY(!(model.sectionIndex(1).flags() & Qt::ItemIsSelectable));
        QVERIFY(!model.entryIndex(1, 300).isValid());
        // A reset closes every section again.
        model.setSections({{QStringLiteral("Again"), 2}});
        QCOMPARE(model.rowCount(model.sectionIndex(0)), 0);
    }

    // A third level: an entry's sub-entries are made when the entry opens, with the same cap,
    // and every index finds its way back to its section and entry.
    void subEntriesAreMadeOnExpandingTheirEntry() {
        NestedModel model({{300, 301}, {0, 2}});
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        SectionedList view;
        view.setModel(&model);
        view.keepSectionsOpen();
        const QModelIndex full = model.entryIndex(0, 0);
        const QModelIndex over = model.entryIndex(0, 1);
        QVERIFY(model.hasChildren(full));
        QVERIFY(!model.hasChildren(model.entryIndex(1, 0)));
        QCOMPARE(model.rowCount(full), 0);
        QVERIFY(!model.subEntryIndex(0, 0, 0).isValid());

        view.expand(full);
        view.expand(over);
        view.expand(model.entryIndex(1, 1));
        QCOMPARE(model.rowCount(full), 300);
        QCOMPARE(model.rowCount(over), 301);
        const QModelIndex last = model.subEntryIndex(0, 1, 299);
        QCOMPARE(last.data().toString(), QStringLiteral("0.1.299"));
        QCOMPARE(last.parent(), over);
        QVERIFY(SectionedListModel::isSubEntry(last));
        QCOMPARE(SectionedListModel::sectionOf(last), 0);
        QCOMPARE(SectionedListModel::entryOf(last), 1);
        QCOMPARE(SectionedListModel::entryOf(over), 1);
        QCOMPARE(SectionedListModel::entryOf(model.sectionIndex(1)), -1);
        QVERIFY(!model.hasChildren(last));
        const QModelIndex more = model.index(300, 0, over);
        QVERIFY(model.isMoreRow(more));
        QCOMPARE(more.data().toString(), QStringLiteral("… and 1 more"));
        QVERIFY(!(more.flags() & Qt::ItemIsSelectable));
        QVERIFY(!model.subEntryIndex(0, 1, 300).isValid());
        QVERIFY(!model.isMoreRow(model.subEntryIndex(0, 0, 299)));
        QCOMPARE(model.subEntryIndex(1, 1, 1).data().toString(), QStringLiteral("1.1.1"));
        QCOMPARE(SectionedListModel::sectionOf(model.subEntryIndex(1, 1, 1)), 1);

        // A reset closes the entries; the sections stay open.
        model.reset();
        QVERIFY(view.isExpanded(model.sectionIndex(0)));
        QCOMPARE(model.rowCount(model.sectionIndex(0)), 2);
        QCOMPARE(model.rowCount(model.entryIndex(0, 1)), 0);
    }

    void keptOpenSectionsDoNotCollapse() {
        NestedModel model(std::vector<std::vector<std::size_t>>{{1}});
        SectionedList view;
        view.setModel(&model);
        view.keepSectionsOpen();
        view.collapse(model.sectionIndex(0));
        QVERIFY(view.isExpanded(model.sectionIndex(0)));
        view.expand(model.entryIndex(0, 0));
        view.collapse(model.entryIndex(0, 0));
        QVERIFY(!view.isExpanded(model.entryIndex(0, 0)));
    }
};

DORVALE_QT_TEST(SectionedListTest)

} // namespace dorvale

#include "SectionedListTest.moc"
