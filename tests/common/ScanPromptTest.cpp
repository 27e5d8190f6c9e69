#include "common/ScanPrompt.hpp"

#include "common/FullDiskAccessBanner.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/ScanningRing.hpp"

#include <QPushButton>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;

struct Prompt {
    explicit Prompt(ShellFixture& f)
        : state(f.makeState())
        , prompt(f.show(new ScanPrompt(state, ScanPrompt::textsFor(AppSection::Overview)->title,
                                       ScanPrompt::textsFor(AppSection::Overview)->message),
                        {900, 700})) {}

    template <typename Widget = QPushButton>
    [[nodiscard]] Widget* find(const char* name) const {
        return prompt->findChild<Widget*>(QString::fromLatin1(name));
    }
    [[nodiscard]] ScanningRing* ring() const { return find<ScanningRing>("scanningRing"); }
    [[nodiscard]] FullDiskAccessBanner* banner() const {
        return find<FullDiskAccessBanner>("fullDiskAccessBanner");
    }

    AppState& state;
    ScanPrompt* prompt;
};

} // namespace

class ScanPromptTest : public QObject {
    Q_OBJECT

private slots:
    void eachPageThatNeedsAScanHasItsTexts() {
        const std::vector<std::pair<AppSection, QString>> titles = {
            {AppSection::Overview, QStringLiteral("What’s taking up your disk?")},
            {AppSection::Explorer, QStringLiteral("Folder explorer")},
            {AppSection::Types, QStringLiteral("Files by type")},
            {AppSection::Large, QStringLiteral("Large and old files")},
            {AppSection::Duplicates, QStringLiteral("Scan your disk first")},
        };
        for (const AppSection section : allAppSections) {
            const auto texts = ScanPrompt::textsFor(section);
            const auto wanted = std::find_if(titles.begin(), titles.end(),
                                             [&](const auto& row) { return row.first == section; });
            QCOMPARE(texts.has_value(), wanted != titles.end());
            if (texts) {
                QCOMPARE(texts->title, wanted->second);
                QVERIFY(!texts->message.isEmpty());
            }
        }
        QCOMPARE(ScanPrompt::textsFor(AppSection::Duplicates)->message,
                 QStringLiteral("Duplicates are found among the files from the last scan."));
        QCOMPARE(ScanPrompt::textsFor(AppSection::Types)->message,
                 QStringLiteral("Videos, photos, documents, installers, archives… Scan your "
                                "disk to see them grouped."));
    }

    void scanningTheDiskWithoutAccessRaisesTheOnboardingAndStaysIdle() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        Prompt p(f);
        QVERIFY(p.banner()->isVisible());
        QTest::mouseClick(p.find("scanDiskButton"), Qt::LeftButton);
        QVERIFY(p.state.showAccessOnboarding());
        QVERIFY(!p.state.isScanning());
        QVERIFY(p.find("scanDiskButton")->isVisible());
        QVERIFY(!p.ring()->isVisible());
    }

    void aScanTurnsThePromptIntoTheRingAndBack() {
        ShellFixture f;
        Prompt p(f);
        QVERIFY(!p.banner()->isVisible());
        QTest::mouseClick(p.find("scanHomeButton"), Qt::LeftButton);
        QVERIFY(p.state.isScanning());
        QVERIFY(p.ring()->isVisible());
        QVERIFY(p.ring()->isSpinning());
        QVERIFY(!p.find("scanHomeButton")->isVisible());
        QCOMPARE(p.ring()->progressText(), QStringLiteral("0 files"));
        QCOMPARE(p.ring()->detail(), QStringLiteral("Zero KB"));

        const std::string deep = f.fixture.locations.home + "/" + std::string(300, 'x') + "/end";
        f.fixture.scans.releaseWithResult(f.fixture.locations.home, std::nullopt,
                                          {{12'345, 3'000'000, deep}});
        QTRY_COMPARE(p.ring()->progressText(), QStringLiteral("12,345 files"));
        QCOMPARE(p.ring()->detail(), QStringLiteral("3 MB"));
        auto* path = p.find<ElidedLabel>("promptPath");
        QVERIFY(path->width() <= 420);
        QVERIFY(path->isElided());
        QVERIFY(path->visibleLines().constFirst().endsWith(QStringLiteral("/end")));

        // The scan gave nothing: the prompt is back, the ring stops.
        QTRY_VERIFY(!p.state.isScanning());
        QVERIFY(p.find("scanHomeButton")->isVisible());
        QVERIFY(!p.ring()->isVisible());
        QVERIFY(!p.ring()->isSpinning());
    }

    void theBannerOpensSettingsAndRechecksAccess() {
        ShellFixture f;
        int settingsOpened = 0;
        f.services.openPrivacySettings = [&settingsOpened] {
            ++settingsOpened;
        };
        f.fixture.fullDiskAccess = false;
        Prompt p(f);
        QTest::mouseClick(p.find("openPrivacySettingsButton"), Qt::LeftButton);
        QCOMPARE(settingsOpened, 1);
        QVERIFY(!p.state.hasFullDiskAccess());

        // Pressed before access was granted, the check finds none and the banner stays.
        QTest::mouseClick(p.find("recheckAccessButton"), Qt::LeftButton);
        QVERIFY(!p.state.hasFullDiskAccess());
        QVERIFY(p.banner()->isVisible());

        f.fixture.fullDiskAccess = true;
        QTest::mouseClick(p.find("recheckAccessButton"), Qt::LeftButton);
        QVERIFY(p.state.hasFullDiskAccess());
        QVERIFY(!p.banner()->isVisible());
        QVERIFY(!p.state.isScanning());
    }
};

DORVALE_QT_TEST(ScanPromptTest)

} // namespace dorvale

#include "ScanPromptTest.moc"
