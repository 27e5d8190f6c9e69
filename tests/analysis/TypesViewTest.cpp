#include "analysis/TypesView.hpp"

#include "analysis/AnalysisFixture.hpp"
#include "analysis/FilesTable.hpp"
#include "analysis/KindTile.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QComboBox>
#include <QVariantAnimation>
#include <QtTest>

namespace dorvale {

namespace {

using test::AnalysisFixture;

// Ten video nodes out of 25 counted videos, a larger archive, and one document.
struct Scan {
    explicit Scan(AnalysisFixture& f) {
        test::TreeBuilder builder = f.homeBuilder();
        FileNode* movies = builder.folder(builder.root(), "Movies");
        for (int i = 0; i < 10; ++i) {
            videos.push_back(builder.file(movies, "clip" + std::to_string(i) + ".mov", 600'000));
        }
        builder.file(builder.root(), "backup.zip", 900'000'000);
        builder.file(builder.root(), "notes.pdf", 700'000);
        scan = std::make_shared<ScanResult>(builder.finish());
        scan->kindCounts[FileKind::Video] = 25;
        test::AppStateAccess(*f.state).setScan(scan, ScanTarget::home());
    }

    std::shared_ptr<ScanResult> scan;
    std::vector<const FileNode*> videos;
};

} // namespace

class TypesViewTest : public QObject {
    Q_OBJECT

private slots:
    void videoIsPickedFirstAndEmptyKindsEndTheRow() {
        AnalysisFixture f;
        const Scan scan(f);
        auto* view = f.show(new TypesView(*f.state, scan.scan, {}), {1100, 700});
        QCOMPARE(view->kind(), FileKind::Video);
        QCOMPARE(view->listing().nodes, scan.videos);
        std::vector<FileKind> order;
        for (const KindTile* tile : view->tiles()) {
            order.push_back(tile->kind());
            QCOMPARE(tile->isSelected(), tile->kind() == FileKind::Video);
        }
        QCOMPARE(order, (std::vector{FileKind::Archive, FileKind::Video, FileKind::Document,
                                     FileKind::Image, FileKind::Audio, FileKind::DiskImage,
                                     FileKind::Code, FileKind::Application, FileKind::Other}));
        QCOMPARE(view->tiles().back()->countText(), "0 files");
    }

    void theNoteCountsTheSmallFilesUnderTheDefaultFilterOnly() {
        AnalysisFixture f;
        const Scan scan(f);
        auto* view = f.show(new TypesView(*f.state, scan.scan, {}), {1100, 700});
        auto* note = view->findChild<ElidedLabel*>(QStringLiteral("smallFilesNote"));
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), "Only files over 512 KB are listed. The remaining 15 smaller files "
                               "still count toward the totals.");
        auto* size = view->findChild<QComboBox*>(QStringLiteral("sizeMenu"));
        emit size->activated(1);
        QVERIFY(!note->isVisible());
        emit size->activated(0);
        QVERIFY(note->isVisible());
        // Deleting a listed video takes it off the count too: the small files stay 15.
        f.state->removeDeleted({scan.videos.front()->path()});
        QCOMPARE(view->listing().nodes.size(), 9U);
        QCOMPARE(view->smallFiles(), std::optional<std::int64_t>(15));
        // Every file of a kind listed: no note.
        view->setKind(FileKind::Document);
        QVERIFY(!note->isVisible());
    }

    // The screen keeps the scan's files by kind from its start; a folder deleted after that
    // takes its files off the list all the same.
    void filesInADeletedFolderLeaveTheList() {
        AnalysisFixture f;
        const Scan scan(f);
        auto* view = f.show(new TypesView(*f.state, scan.scan, {}), {1100, 700});
        view->setKind(FileKind::Document);
        f.state->removeDeleted({scan.videos.front()->parent()->path()});
        view->setKind(FileKind::Video);
        QCOMPARE(view->listing().nodes.size(), 0U);
        QCOMPARE(view->smallFiles(), std::optional<std::int64_t>(15));
    }

    void exportsUnderTheKindsTitle() {
        AnalysisFixture f;
        const Scan scan(f);
        auto* view = f.show(new TypesView(*f.state, scan.scan, {}), {1100, 700});
        KindTile* archives = view->tiles().front();
        KindTile* video = view->tiles()[1];
        QTest::mouseClick(archives, Qt::LeftButton);
        QCOMPARE(view->kind(), FileKind::Archive);
        // The pick springs from one tile to the other and settles there.
        QVERIFY(archives->isSelected() && !video->isSelected());
        QVERIFY(archives->shownSelection() < 1 && video->shownSelection() > 0);
        for (QVariantAnimation* animation : view->findChildren<QVariantAnimation*>()) {
            animation->setCurrentTime(animation->totalDuration());
        }
        QCOMPARE(archives->shownSelection(), 1.0);
        QCOMPARE(video->shownSelection(), 0.0);
        QCOMPARE(view->listing().nodes.size(), 1U);
        view->exportListed();
        QCOMPARE(f.fixture.fileDialogs.suggestedNames(),
                 std::vector<std::string>{"Dorvale-Archives"});
    }
};

DORVALE_QT_TEST(TypesViewTest)

} // namespace dorvale

#include "TypesViewTest.moc"
