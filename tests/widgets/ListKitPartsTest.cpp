#include "model/ScanResult.hpp"
#include "support/TreeBuilder.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/CellDelegate.hpp"
#include "widgets/DefaultKey.hpp"
#include "widgets/NameRanks.hpp"

#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace dorvale {

namespace {

struct Page {
    Page() {
        auto* layout = new QVBoxLayout(&page);
        layout->addWidget(field);
        layout->addWidget(button);
        setDefaultKey(page, *button);
        page.show();
        field->setFocus();
    }

    QWidget page;
    QPushButton* field = new QPushButton(QStringLiteral("Elsewhere"));
    QPushButton* button = new QPushButton(QStringLiteral("Go"));
};

} // namespace

class ListKitPartsTest : public QObject {
    Q_OBJECT

private slots:
    void namesRankAsTheLanguageOrdersThem() {
        const std::vector<std::string_view> names = {
            "file10.txt", "File2.txt", "file2.txt", "b", "A", "\xff\xfe", "éclair", "eclair", "",
        };
        const std::vector<std::uint32_t> ranks = NameRanks::rank(names);
        const auto rankOf = [&](std::size_t i) {
            return ranks[i];
        };
        // Digits by value, case ignored (equal ranks), accents told apart.
        QVERIFY(rankOf(2) < rankOf(0));
        QCOMPARE(rankOf(1), rankOf(2));
        QVERIFY(rankOf(4) < rankOf(3));
        QVERIFY(rankOf(7) < rankOf(6));
        QVERIFY(rankOf(8) < rankOf(4));
        QVERIFY(rankOf(5) != rankOf(8));
        // Ranks are dense from 0: the largest rank counts the distinct names less one.
        QCOMPARE(*std::max_element(ranks.begin(), ranks.end()), 7U);
    }

    void aScansNodesAreRankedOnThePool() {
        test::TreeBuilder builder("/home/u");
        FileNode* docs = builder.folder(builder.root(), "docs");
        const FileNode* second = builder.file(docs, "Report 2.pdf", 1);
        const FileNode* tenth = builder.file(docs, "report 10.pdf", 1);
        const auto scan = std::make_shared<const ScanResult>(builder.finish());
        QObject context;
        std::shared_ptr<const NameRanks> ranks;
        NameRanks::rankInBackground(&context, scan,
                                    [&](std::shared_ptr<const NameRanks> done) { ranks = done; });
        QTRY_VERIFY(ranks != nullptr);
        QCOMPARE(ranks->size(), std::size_t{4});
        QVERIFY(ranks->rankOf(second) < ranks->rankOf(tenth));
        QVERIFY(ranks->rankOf(docs) < ranks->rankOf(second));
        QCOMPARE(ranks->rankOf(nullptr), std::numeric_limits<std::uint32_t>::max());
    }

    void manyNamesRankAlikeWhicheverThreadRanksThem() {
        // Enough names for several threads and key ranges; every number comes two or three
        // times, in either case, so runs of equal names meet every range border.
        constexpr std::size_t folders = 8;
        constexpr std::size_t perFolder = 6'000;
        constexpr std::size_t numbers = 20'000;
        test::TreeBuilder builder("/home/u");
        std::vector<std::pair<std::size_t, const FileNode*>> files;
        for (std::size_t f = 0; f < folders; ++f) {
            FileNode* folder = builder.folder(builder.root(), "docs " + std::to_string(f));
            for (std::size_t i = 0; i < perFolder; ++i) {
                const std::size_t n = (f * perFolder + i) * 7'919 % numbers;
                const std::string name = (i % 2 == 0 ? "item " : "ITEM ") + std::to_string(n);
                files.emplace_back(n, builder.file(folder, name, 1));
            }
        }
        const auto scan = std::make_shared<const ScanResult>(builder.finish());
        const NameRanks ranks = NameRanks::ofNames(NameRanks::namesOf(*scan));
        QCOMPARE(ranks.size(), folders * perFolder + folders + 1);
        std::stable_sort(files.begin(), files.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 1; i < files.size(); ++i) {
            const std::uint32_t previous = ranks.rankOf(files[i - 1].second);
            const std::uint32_t rank = ranks.rankOf(files[i].second);
            if (files[i - 1].first == files[i].first ? rank != previous : rank != previous + 1) {
                QFAIL(qPrintable(QStringLiteral("item %1 ranks %2 after %3")
                                     .arg(files[i].first)
                                     .arg(rank)
                                     .arg(previous)));
            }
        }
    }

    void aSizeBarsShareIsNeverUndefined() {
        QCOMPARE(SizeBarDelegate::shareOf(0, 0), 0.0);
        QCOMPARE(SizeBarDelegate::shareOf(5, 0), 0.0);
        QCOMPARE(SizeBarDelegate::shareOf(5, 10), 0.5);
        QCOMPARE(SizeBarDelegate::shareOf(20, 10), 1.0);
    }

    void theDefaultKeyClicksOnlyAnEnabledShownButton() {
        Page p;
        p.page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p.page));
        QSignalSpy clicks(p.button, &QPushButton::clicked);
        QTest::keyClick(p.field, Qt::Key_Return);
        QTest::keyClick(p.field, Qt::Key_Enter);
        QCOMPARE(clicks.count(), 2);
        p.button->setEnabled(false);
        QTest::keyClick(p.field, Qt::Key_Return);
        p.button->setEnabled(true);
        p.button->hide();
        QTest::keyClick(p.field, Qt::Key_Return);
        QCOMPARE(clicks.count(), 2);
    }
};

DORVALE_QT_TEST(ListKitPartsTest)

} // namespace dorvale

#include "ListKitPartsTest.moc"
