#include "shell/QtFileDialogs.hpp"

#include "support/FixtureTree.hpp"
#include "support/qt/QtTests.hpp"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace dorvale {

namespace {

QString q(const std::string& path) {
    return QString::fromStdString(path);
}

// Runs `answer` on the file dialog once it is shown, from inside its own event loop.
void whenDialogShows(std::function<void(QFileDialog&)> answer) {
    QTimer::singleShot(0, qApp, [answer = std::move(answer)] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        answer(*dialog);
    });
}

} // namespace

class QtFileDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void finalLinksAreResolvedToTheirFolder_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("resolved");
        QTest::newRow("folder") << "Real"
                                << "Real";
        QTest::newRow("link to a folder") << "Link"
                                          << "Real";
        QTest::newRow("relative link") << "Relative"
                                       << "Real";
        QTest::newRow("chain of links") << "Chain"
                                        << "Real";
        QTest::newRow("folder inside a linked folder") << "Link/Inner"
                                                       << "Link/Inner";
        QTest::newRow("link to a file") << "FileLink"
                                        << "FileLink";
        QTest::newRow("dangling link") << "Dangling"
                                       << "Dangling";
        QTest::newRow("loop") << "LoopA"
                              << "LoopA";
    }

    void finalLinksAreResolvedToTheirFolder() {
        QFETCH(QString, chosen);
        QFETCH(QString, resolved);
        test::FixtureTree tree;
        tree.folder("Real/Inner");
        tree.file("file.txt", "x");
        tree.symlink(tree.path("Real"), "Link");
        tree.symlink("Real", "Relative");
        tree.symlink(tree.path("Link"), "Chain");
        tree.symlink(tree.path("file.txt"), "FileLink");
        tree.symlink(tree.path("Missing"), "Dangling");
        tree.symlink(tree.path("LoopB"), "LoopA");
        tree.symlink(tree.path("LoopA"), "LoopB");
        QCOMPARE(QtFileDialogs::resolveFinalLink(q(tree.path(chosen.toStdString()))),
                 q(tree.path(resolved.toStdString())));
    }

    void aChosenLinkComesBackAsItsFolder() {
        test::FixtureTree tree;
        tree.folder("Real");
        tree.symlink(tree.path("Real"), "Link");
        QtFileDialogs dialogs;
        whenDialogShows([&](QFileDialog& dialog) {
            QCOMPARE(dialog.labelText(QFileDialog::Accept), QStringLiteral("Scan"));
            QCOMPARE(dialog.fileMode(), QFileDialog::Directory);
            dialog.setDirectory(q(tree.root()));
            dialog.selectFile(q(tree.path("Link")));
            static_cast<QDialog&>(dialog).accept();
        });
        QCOMPARE(dialogs.chooseFolder("Choose a folder to scan", "Scan"),
                 std::optional(tree.path("Real")));
    }

    // The folder dialog says what it is for, opens in the home folder, and then where the
    // user last chose; a cancelled dialog leaves that place as it was.
    void theFolderDialogOpensWhereTheUserLastChose() {
        test::FixtureTree tree;
        tree.folder("Work/Reports");
        QtFileDialogs dialogs;
        whenDialogShows([&](QFileDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Choose a folder to scan"));
            QCOMPARE(dialog.directory().absolutePath(), QDir::homePath());
            dialog.setDirectory(q(tree.path("Work")));
            dialog.selectFile(q(tree.path("Work/Reports")));
            static_cast<QDialog&>(dialog).accept();
        });
        QCOMPARE(dialogs.chooseFolder("Choose a folder to scan", "Scan"),
                 std::optional(tree.path("Work/Reports")));
        for (int time = 0; time < 2; ++time) {
            QString openedIn;
            whenDialogShows([&](QFileDialog& dialog) {
                openedIn = dialog.directory().absolutePath();
                dialog.reject();
            });
            QCOMPARE(dialogs.chooseFolder("Choose a folder to exclude", "Choose"), std::nullopt);
            QCOMPARE(openedIn, q(tree.path("Work")));
        }
    }

    void aCancelledDialogGivesNothing() {
        QtFileDialogs dialogs;
        whenDialogShows([](QFileDialog& dialog) { dialog.reject(); });
        QCOMPARE(dialogs.chooseFolder("Choose a folder to scan", "Scan"), std::nullopt);
        whenDialogShows([](QFileDialog& dialog) { dialog.reject(); });
        QCOMPARE(dialogs.chooseSaveFile("Large Files"), std::nullopt);
    }

    void theSaveDialogOffersACsvFile() {
        test::FixtureTree tree;
        QtFileDialogs dialogs;
        whenDialogShows([&](QFileDialog& dialog) {
            QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog.nameFilters(), QStringList{QStringLiteral("CSV (*.csv)")});
            QCOMPARE(dialog.defaultSuffix(), QStringLiteral("csv"));
            dialog.setDirectory(q(tree.root()));
            dialog.selectFile(q(tree.path("report")));
            static_cast<QDialog&>(dialog).accept();
        });
        QCOMPARE(dialogs.chooseSaveFile("Large Files"), std::optional(tree.path("report.csv")));
    }

    void aTypedSuffixGetsTheCsvSuffixAdded_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("csv") << "/a/list.csv"
                             << "/a/list.csv";
        QTest::newRow("upper case") << "/a/list.CSV"
                                    << "/a/list.CSV";
        QTest::newRow("other suffix") << "/a/list.txt"
                                      << "/a/list.txt.csv";
        QTest::newRow("none") << "/a/list"
                              << "/a/list.csv";
    }

    void aTypedSuffixGetsTheCsvSuffixAdded() {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QCOMPARE(QtFileDialogs::withCsvSuffix(typed), saved);
    }
};

DORVALE_QT_TEST(QtFileDialogsTest)

} // namespace dorvale

#include "QtFileDialogsTest.moc"
