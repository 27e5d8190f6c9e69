#include "app/MenuBarLabel.hpp"

#include "support/qt/QtTests.hpp"

#include <QtTest>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace dorvale {
namespace {

VolumeInfo volumeWith(std::int64_t available) {
    return VolumeInfo{"Fixture", 500'000'000'000, available, available};
}

class MenuBarLabelTest final : public QObject {
    Q_OBJECT

private slots:
    void warnsOnlyWhileFreeSpaceIsStrictlyBelowTheThreshold_data() {
        QTest::addColumn<qint64>("available");
        QTest::addColumn<qint64>("gigabytes");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("title");
        const QString drive = QStringLiteral("internaldrive");
        const QString warning = QStringLiteral("exclamationmark.triangle.fill");
        QTest::newRow("just below") << qint64(9'999'999'999) << qint64(10) << warning << "10 GB";
        QTest::newRow("at the threshold")
            << qint64(10'000'000'000) << qint64(10) << drive << "10 GB";
        QTest::newRow("warning off") << qint64(0) << qint64(0) << drive << "Zero KB";
        QTest::newRow("negative threshold") << qint64(0) << qint64(-5) << drive << "Zero KB";
        // No latch and no re-arm band: the label follows the free space as it is now.
        QTest::newRow("within the band")
            << qint64(11'000'000'000) << qint64(10) << drive << "11 GB";
        QTest::newRow("negative free space") << qint64(-4096) << qint64(10) << warning << "Zero KB";
        QTest::newRow("huge threshold")
            << qint64(500'000'000'000) << std::numeric_limits<qint64>::max() << warning << "500 GB";
    }

    void warnsOnlyWhileFreeSpaceIsStrictlyBelowTheThreshold() {
        QFETCH(qint64, available);
        QFETCH(qint64, gigabytes);
        QFETCH(QString, symbol);
        QFETCH(QString, title);
        const MenuBarLabel label = MenuBarLabel::of(volumeWith(available), gigabytes);
        QCOMPARE(QString::fromLatin1(label.symbol.data(), qsizetype(label.symbol.size())), symbol);
        QCOMPARE(QString::fromStdString(label.title.value_or("(none)")), title);
    }

    void anUnknownVolumeShowsTheDriveAlone() {
        const MenuBarLabel label = MenuBarLabel::of(std::nullopt, 10);
        QCOMPARE(std::string(label.symbol), std::string("internaldrive"));
        QVERIFY(!label.title.has_value());
    }
};

DORVALE_QT_TEST(MenuBarLabelTest)

} // namespace
} // namespace dorvale

#include "MenuBarLabelTest.moc"
