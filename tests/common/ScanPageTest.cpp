#include "common/ScanPage.hpp"

#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"

#include <QLabel>
#include <QPointer>
#include <QtTest>

namespace dorvale {

class ScanPageTest : public QObject {
    Q_OBJECT

private slots:
    void showsThePromptUntilAScanThenContentMadeFromEachResult() {
        test::ShellFixture f;
        AppState& state = f.makeState();
        test::AppStateAccess access(state);
        std::vector<const ScanResult*> madeFrom;
        auto* page = f.show(new ScanPage(state, *ScanPrompt::textsFor(AppSection::Large),
                                         [&](std::shared_ptr<const ScanResult> scan) {
                                             madeFrom.push_back(scan.get());
                                             return new QLabel(QStringLiteral("content"));
                                         }));
        QVERIFY(page->prompt()->isVisible());
        QVERIFY(page->content() == nullptr);
        QVERIFY(madeFrom.empty());

        access.setScan(f.homeScan(), ScanTarget::home());
        QVERIFY(!page->prompt()->isVisible());
        QPointer<QWidget> first = page->content();
        QVERIFY(first && first->isVisible());
        QCOMPARE(madeFrom, std::vector<const ScanResult*>{state.scan().get()});

        // Only a new result rebuilds the content; the old content goes.
        access.setRevision(state.revision() + 1);
        QCOMPARE(madeFrom.size(), std::size_t{1});
        access.setScan(f.homeScan(), ScanTarget::home());
        QCOMPARE(madeFrom.size(), std::size_t{2});
        QVERIFY(page->content() != first);
        QTRY_VERIFY(first.isNull());
    }
};

DORVALE_QT_TEST(ScanPageTest)

} // namespace dorvale

#include "ScanPageTest.moc"
