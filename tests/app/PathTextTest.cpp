#include "app/PathText.hpp"

#include "support/qt/QtTests.hpp"

#include <QtTest>

namespace dorvale {
namespace {

class PathTextTest final : public QObject {
    Q_OBJECT

private slots:
    void namesAreDecodedAndBytesThatAreNotUtf8StillShow() {
        QCOMPARE(pathText("caf\xC3\xA9.txt"), QStringLiteral("café.txt"));
        const QString broken = pathText("bad\xFFname");
        QVERIFY(broken.startsWith(QStringLiteral("bad")));
        QVERIFY(broken.endsWith(QStringLiteral("name")));
    }

    void shownPathsPutTheHomeFolderAsATilde() {
        const Locations locations = Locations::inside("/tmp/fixture");
        QCOMPARE(shownPath(locations.home + "/Movies/clip.mov", locations),
                 QStringLiteral("~/Movies/clip.mov"));
        QCOMPARE(shownPath("/etc/hosts", locations), QStringLiteral("/etc/hosts"));
    }
};

} // namespace

DORVALE_QT_TEST(PathTextTest)

} // namespace dorvale

#include "PathTextTest.moc"
