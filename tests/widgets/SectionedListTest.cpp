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
};

DORVALE_QT_TEST(SectionedListTest)

} // namespace dorvale

#include "SectionedListTest.moc"
