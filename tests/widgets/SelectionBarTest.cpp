#include "widgets/SelectionBar.hpp"

#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace dorvale {

namespace {

struct Page {
    Page() {
        window.resize(640, 400);
        auto* layout = new QVBoxLayout(&window);
        layout->addStretch();
        bar = new SelectionBar(QStringLiteral("Move to Trash"));
        layout->addWidget(bar);
        window.show();
    }

    [[nodiscard]] QString text(const char* name) const {
        return bar->findChild<ElidedLabel*>(QString::fromLatin1(name))->text();
    }

    QWidget window;
    SelectionBar* bar = nullptr;
};

} // namespace

class SelectionBarTest : public QObject {
    Q_OBJECT

private slots:
    void theBarShowsOnlyWithASelection() {
        Page page;
        QVERIFY(!page.bar->isVisible());
        page.bar->setSelection(1, 2'500'000);
        QVERIFY(page.bar->isVisible());
        QCOMPARE(page.text("selectionCount"), QStringLiteral("1 selected"));
        QCOMPARE(page.text("selectionSize"), QStringLiteral("2.5 MB"));
        page.bar->setSelection(0, 0);
        QVERIFY(!page.bar->isVisible());
    }

    void aZeroOrNegativeSizeShowsZeroBytes() {
        Page page;
        page.bar->setSelection(3, 0);
        QCOMPARE(page.text("selectionSize"), QStringLiteral("Zero KB"));
        page.bar->setSelection(3, -5);
        QCOMPARE(page.text("selectionSize"), QStringLiteral("Zero KB"));
    }

    void theButtonsReportTheirClicks() {
        Page page;
        page.bar->setSelection(2, 10);
        QSignalSpy cleared(page.bar, &SelectionBar::clearRequested);
        QSignalSpy acted(page.bar, &SelectionBar::actionRequested);
        QTest::mouseClick(page.bar->findChild<QPushButton*>(QStringLiteral("deselectButton")),
                          Qt::LeftButton);
        QTest::mouseClick(page.bar->findChild<QPushButton*>(QStringLiteral("selectionAction")),
                          Qt::LeftButton);
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(acted.count(), 1);
    }

    // A long action title is cut, so the bar never grows wider than its page.
    void aLongActionTitleKeepsTheBarWithinThePage() {
        Page page;
        const QString title = QStringLiteral("Move 1,234,567 selected files and folders from "
                                             "every scanned volume to the Trash right now");
        page.bar->setActionTitle(title);
        page.bar->setSelection(1'234'567, 9'876'543'210'000);
        auto* action = page.bar->findChild<QPushButton*>(QStringLiteral("selectionAction"));
        QCOMPARE(action->text(), title);
        QCOMPARE(action->toolTip(), title);
        QVERIFY(action->width() <= 320);
        QVERIFY(page.bar->minimumSizeHint().width() <= page.window.width());
        QCOMPARE(page.text("selectionCount"), QStringLiteral("1,234,567 selected"));
    }

    // A bar not yet placed in its page stays hidden instead of opening as a window.
    void aBarWithoutItsPageNeverOpensAWindow() {
        auto bar = std::make_unique<SelectionBar>(QStringLiteral("Delete"));
        bar->setSelection(2, 100);
        QVERIFY(!bar->isVisible());
        QWidget page;
        auto* layout = new QVBoxLayout(&page);
        layout->addWidget(bar.get());
        SelectionBar* placed = bar.release();
        page.show();
        QTRY_VERIFY(placed->isVisible());
    }
};

DORVALE_QT_TEST(SelectionBarTest)

} // namespace dorvale

#include "SelectionBarTest.moc"
