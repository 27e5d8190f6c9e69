#include "analysis/FilterBar.hpp"

#include "analysis/KindChip.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;

// A bar over a filter of the test's own, recording every filter written.
struct Bar {
    explicit Bar(ShellFixture& f, FilterBar::Options options = fileOptions(), FileFilter start = {})
        : filter(std::move(start)) {
        bar = f.show(new FilterBar({[this] { return filter; },
                                    [this](FileFilter written) {
                                        filter = written;
                                        writes.push_back(std::move(written));
                                    }},
                                   std::move(options), f.fixture.locations),
                     {900, 120});
    }

    static FilterBar::Options fileOptions() {
        return {.sizeOptions = FilterBar::fileSizeOptions(),
                .ageOptions = FilterBar::fileAgeOptions()};
    }
    template <typename T>
    [[nodiscard]] T* find(const char* name) const {
        return bar->findChild<T*>(QString::fromLatin1(name));
    }

    FileFilter filter;
    std::vector<FileFilter> writes;
    FilterBar* bar;
};

} // namespace

class FilterBarTest : public QObject {
    Q_OBJECT

private slots:
    void typingWritesEachPrefixAndShowsTheClearButton() {
        ShellFixture f;
        Bar b(f);
        auto* clear = b.find<IconButton>("clearSearchButton");
        QVERIFY(!clear->isVisible());
        QTest::keyClicks(b.find<QLineEdit>("searchEdit"), "/Do");
        QCOMPARE(b.writes.size(), 3U);
        QCOMPARE(b.writes[0].query, "/");
        QCOMPARE(b.writes[2].query, "/Do");
        QVERIFY(clear->isVisible());
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(b.filter.query, "");
        QCOMPARE(b.find<QLineEdit>("searchEdit")->text(), "");
        QVERIFY(!clear->isVisible());
    }

    void aChipToggledTwiceLeavesNoKind() {
        ShellFixture f;
        Bar b(f);
        auto* chip = b.find<KindChip>("kindChip2");
        QTest::mouseClick(chip, Qt::LeftButton);
        QCOMPARE(b.filter.kinds, std::set{FileKind::Video});
        QVERIFY(chip->isChecked());
        QTest::mouseClick(chip, Qt::LeftButton);
        QVERIFY(b.filter.kinds.empty());
        QVERIFY(!chip->isChecked());
    }

    void menusWriteTheirFieldsAndShowNothingForAnUnmatchedValue() {
        ShellFixture f;
        Bar b(f, Bar::fileOptions(), FileFilter{.minSize = 12345, .modifiedOlderThanDays = 90});
        auto* size = b.find<QComboBox>("sizeMenu");
        auto* age = b.find<QComboBox>("ageMenu");
        auto* category = b.find<QComboBox>("categoryMenu");
        QCOMPARE(size->currentIndex(), -1);
        QCOMPARE(age->currentText(), "> 3 months");
        QCOMPARE(category->currentText(), "All categories");
        emit size->activated(1);
        QCOMPARE(b.filter.minSize, std::int64_t{1'048'576});
        QCOMPARE(size->currentText(), "> 1 MB");
        emit age->activated(0);
        QVERIFY(!b.filter.modifiedOlderThanDays);
        emit category->activated(2);
        QVERIFY(b.filter.bucket == StorageBucket::Applications);
        QCOMPARE(category->currentIndex(), 2);
    }

    void optionsOffLeaveTheSearchMenusAndSummary() {
        ShellFixture f;
        Bar b(f, {.showKinds = false,
                  .showBucket = false,
                  .showExport = false,
                  .sizeOptions = FilterBar::fileSizeOptions(),
                  .ageOptions = FilterBar::fileAgeOptions()});
        QVERIFY(!b.find<QComboBox>("categoryMenu"));
        QVERIFY(!b.find<KindChip>("kindChip0"));
        QVERIFY(!b.find<QPushButton>("exportButton"));
        QVERIFY(!b.find<QWidget>("pathChip")->isVisible());
        QVERIFY(b.find<QComboBox>("sizeMenu")->isVisible());
        b.bar->setResult(1, -5);
        QCOMPARE(b.find<ElidedLabel>("resultSummary")->text(), "1 files · Zero KB");
    }

    void clearingThePathChipKeepsTheRest() {
        ShellFixture f;
        const FileFilter start{.query = "pdf",
                               .kinds = {FileKind::Document},
                               .bucket = StorageBucket::Documents,
                               .minSize = 1'048'576,
                               .modifiedOlderThanDays = 30,
                               .pathPrefix = f.fixture.locations.home + "/Downloads"};
        Bar b(f, Bar::fileOptions(), start);
        QVERIFY(b.find<QWidget>("pathChip")->isVisible());
        QCOMPARE(b.find<ElidedLabel>("pathPrefix")->text(), "~/Downloads");
        QTest::mouseClick(b.find<IconButton>("clearPathButton"), Qt::LeftButton);
        FileFilter expected = start;
        expected.pathPrefix.reset();
        QVERIFY(b.filter == expected);
        QVERIFY(!b.find<QWidget>("pathChip")->isVisible());
        QSignalSpy exports(b.bar, &FilterBar::exportRequested);
        QTest::mouseClick(b.find<QPushButton>("exportButton"), Qt::LeftButton);
        QCOMPARE(exports.count(), 1);
    }
};

DORVALE_QT_TEST(FilterBarTest)

} // namespace dorvale

#include "FilterBarTest.moc"
