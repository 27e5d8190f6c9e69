#include "style/FileIcon.hpp"

#include "support/FixtureTree.hpp"
#include "support/qt/QtTests.hpp"

#include <QtTest>

namespace dorvale {

class FileIconTest : public QObject {
    Q_OBJECT

private slots:
    void init() { FileIcon::cache().clear(); }

    void keys_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isFolder");
        QTest::addColumn<QString>("key");
        QTest::newRow("plain file") << "/home/a/Report.PDF" << false << "ext:pdf";
        QTest::newRow("last extension") << "/home/a/backup.tar.GZ" << false << "ext:gz";
        QTest::newRow("no extension") << "/home/a/Makefile" << false << "/home/a/Makefile";
        QTest::newRow("dot file") << "/home/a/.bashrc" << false << "/home/a/.bashrc";
        QTest::newRow("trailing dot") << "/home/a/name." << false << "/home/a/name.";
        QTest::newRow("package") << "/Applications/Editor.app" << false
                                 << "/Applications/Editor.app";
        QTest::newRow("library package")
            << "/home/a/Photos.photoslibrary" << false << "/home/a/Photos.photoslibrary";
        QTest::newRow("folder") << "/home/a/Music" << true << "/home/a/Music";
        QTest::newRow("folder named like a file")
            << "/home/a/lodash.debounce" << true << "/home/a/lodash.debounce";
    }

    void keys() {
        QFETCH(QString, path);
        QFETCH(bool, isFolder);
        QFETCH(QString, key);
        const FileIcon::Kind kind = isFolder ? FileIcon::Kind::Folder : FileIcon::Kind::File;
        QCOMPARE(QString::fromStdString(FileIcon::cacheKey(path.toStdString(), kind)), key);
    }

    void filesOfOneExtensionShareAnIcon() {
        const QIcon first = FileIcon::icon("/home/a/Report.PDF", FileIcon::Kind::File);
        const QIcon second = FileIcon::icon("/srv/b/notes.pdf", FileIcon::Kind::File);
        QCOMPARE(FileIcon::cache().size(), std::size_t(1));
        QCOMPARE(first.cacheKey(), second.cacheKey());
        QVERIFY(!first.isNull());
    }

    void applicationsGetAnIconEach() {
        std::ignore = FileIcon::icon("/Applications/Editor.app", FileIcon::Kind::Folder);
        std::ignore = FileIcon::icon("/Applications/Viewer.app", FileIcon::Kind::Folder);
        QCOMPARE(FileIcon::cache().size(), std::size_t(2));
    }

    // A folder named like a file must not lend its folder icon to every file of that
    // extension, nor borrow theirs: whether the item is a folder is read from the disk.
    void aFolderNamedLikeAFileKeepsItsOwnIcon() {
        test::FixtureTree tree;
        const std::string folder = tree.folder("notes.txt");
        const std::string file = tree.file("letter.txt", "x");
        std::ignore = FileIcon::icon(folder);
        std::ignore = FileIcon::icon(file);
        QVERIFY(FileIcon::cache().find(folder) != nullptr);
        QVERIFY(FileIcon::cache().find("ext:txt") != nullptr);
        QCOMPARE(FileIcon::cache().size(), std::size_t(2));
    }

    void theCacheEmptiesOnceItHoldsMoreThanItsLimit() {
        IconCache cache;
        for (std::size_t i = 0; i <= IconCache::limit; ++i) {
            cache.insert("ext:" + std::to_string(i), QIcon());
        }
        QCOMPARE(cache.size(), std::size_t(4001));
        cache.insert("ext:0", QIcon()); // a key already held is replaced, nothing emptied
        QCOMPARE(cache.size(), std::size_t(4001));
        cache.insert("ext:new", QIcon());
        QCOMPARE(cache.size(), std::size_t(1));
        QVERIFY(cache.find("ext:new") != nullptr);
    }
};

DORVALE_QT_TEST(FileIconTest)

} // namespace dorvale

#include "FileIconTest.moc"
