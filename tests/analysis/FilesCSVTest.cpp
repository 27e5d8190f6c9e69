#include "analysis/FilesCSV.hpp"

#include "analysis/AnalysisFixture.hpp"
#include "support/Unprivileged.hpp"
#include "support/qt/QtTests.hpp"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtTest>

#include <sys/stat.h>

namespace dorvale {

namespace {

using test::AnalysisFixture;

constexpr auto header = "Path,Name,Bytes on disk,Bytes,Kind,Category,Modified\n";

QByteArray readAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class FilesCSVTest : public QObject {
    Q_OBJECT

private slots:
    void writesTheExactTable() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        FileNode* docs = builder.folder(builder.root(), "Docs");
        const FileNode* comma = builder.file(docs, "a,b \"q\".pdf", 2'000'000,
                                             {.logicalSize = 1'999'999, .modified = 1'709'647'629});
        const FileNode* lines = builder.file(builder.root(), "two\nlines.mov", 600'000);
        const FileNode* broken = builder.file(builder.root(), "bad\xff.bin", -4096);
        const ScanResult result = builder.finish();
        const std::string& volume = f.fixture.locations.dataVolume;
        QBuffer empty;
        empty.open(QIODevice::WriteOnly);
        QVERIFY(writeCsv({}, volume, empty));
        QCOMPARE(empty.data(), QByteArray(header));
        const std::vector<const FileNode*> nodes = {comma, lines, broken};
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QVERIFY(writeCsv(nodes, volume, out));
        const QByteArray expected =
            QByteArray(header) +
            "\"/Users/a/Docs/a,b \"\"q\"\".pdf\",\"a,b \"\"q\"\".pdf\",\"2000000\",\"1999999\","
            "\"Documents\",\"Documents\",\"2024-03-05T14:07:09Z\"\n"
            "\"/Users/a/two\nlines.mov\",\"two\nlines.mov\",\"600000\",\"600000\",\"Video\","
            "\"Video\",\"1970-01-01T00:00:00Z\"\n"
            "\"/Users/a/bad\xef\xbf\xbd.bin\",\"bad\xef\xbf\xbd.bin\",\"-4096\",\"-4096\","
            "\"Other\",\"Other\",\"1970-01-01T00:00:00Z\"\n";
        QCOMPARE(out.data(), expected);
    }

    void theDialogDecidesWhereAndACancelWritesNothing() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        const FileNode* file = builder.file(builder.root(), "a.mov", 1'000'000);
        const ScanResult result = builder.finish();
        const std::vector<const FileNode*> nodes = {file};
        const std::string target = f.fixture.tree.path("export.csv");
        FilesCSV::write(f.fixture.fileDialogs, nodes, "Dorvale-files", "/");
        QCOMPARE(f.fixture.fileDialogs.suggestedNames(), std::vector<std::string>{"Dorvale-files"});
        QVERIFY(!QFile::exists(QString::fromStdString(target)));
        // A longer file that stood there is replaced whole.
        {
            QFile old(QString::fromStdString(target));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(10'000, 'x'));
        }
        f.fixture.fileDialogs.queueSaveFile(target);
        FilesCSV::write(f.fixture.fileDialogs, nodes, "Dorvale-files", "/");
        const QByteArray written = readAll(target);
        QVERIFY(written.startsWith(header));
        QVERIFY(written.endsWith("\"Video\",\"Video\",\"1970-01-01T00:00:00Z\"\n"));
        // The folder's generated name may hold an "x"; the old file's run of them must be gone.
        QVERIFY(!written.contains(QByteArray(16, 'x')));
    }

    void aFolderThatCannotBeWrittenLeavesNoFile() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        const FileNode* file = builder.file(builder.root(), "a.mov", 1'000'000);
        const ScanResult result = builder.finish();
        const std::string folder = f.fixture.tree.folder("locked");
        QCOMPARE(::chmod(folder.c_str(), 0555), 0);
        const std::vector<const FileNode*> nodes = {file};
        f.fixture.fileDialogs.queueSaveFile(folder + "/out.csv");
        const int status = test::runUnprivileged([&] {
            FilesCSV::write(f.fixture.fileDialogs, nodes, "Dorvale-files", "/");
            return QDir(QString::fromStdString(folder))
                           .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                       ? 0
                       : 1;
        });
        QCOMPARE(status, 0);
        QVERIFY(QDir(QString::fromStdString(folder))
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
};

DORVALE_QT_TEST(FilesCSVTest)

} // namespace dorvale

#include "FilesCSVTest.moc"
