#include "style/Theme.hpp"

#include "style/Typography.hpp"
#include "support/qt/QtTests.hpp"

#include <QApplication>
#include <QtTest>

namespace dorvale {

class ThemeTest : public QObject {
    Q_OBJECT

private slots:
    // The core's classification colours and the palette are one set of colours: a bucket,
    // a kind and the palette entry named for it must never drift apart.
    void coreColoursAreThePalette_data() {
        QTest::addColumn<QColor>("core");
        QTest::addColumn<QColor>("palette");
        QTest::newRow("applications")
            << Theme::bucketColor(StorageBucket::Applications) << Theme::blue();
        QTest::newRow("documents") << Theme::bucketColor(StorageBucket::Documents) << Theme::teal();
        QTest::newRow("images") << Theme::bucketColor(StorageBucket::Images) << Theme::amber();
        QTest::newRow("video") << Theme::bucketColor(StorageBucket::Video) << Theme::pink();
        QTest::newRow("audio") << Theme::bucketColor(StorageBucket::Audio) << Theme::lavender();
        QTest::newRow("archives") << Theme::bucketColor(StorageBucket::Archives)
                                  << Theme::tangerine();
        QTest::newRow("developer") << Theme::bucketColor(StorageBucket::Developer) << Theme::cyan();
        QTest::newRow("appData") << Theme::bucketColor(StorageBucket::AppData) << Theme::slate();
        QTest::newRow("junk") << Theme::bucketColor(StorageBucket::Junk) << Theme::lime();
        QTest::newRow("trash") << Theme::bucketColor(StorageBucket::Trash) << Theme::tan();
        QTest::newRow("system") << Theme::bucketColor(StorageBucket::System) << Theme::graphite();
        QTest::newRow("other bucket")
            << Theme::bucketColor(StorageBucket::Other) << Theme::silver();
        QTest::newRow("disk image kind")
            << Theme::kindColor(FileKind::DiskImage) << Theme::tangerine();
        QTest::newRow("code kind") << Theme::kindColor(FileKind::Code) << Theme::cyan();
        QTest::newRow("other kind") << Theme::kindColor(FileKind::Other) << Theme::silver();
    }

    void coreColoursAreThePalette() {
        QFETCH(QColor, core);
        QFETCH(QColor, palette);
        QCOMPARE(core, palette);
    }

    void riskColoursAreTheSignalColours() {
        QCOMPARE(Theme::riskColor(Risk::Safe), QColor(0x30, 0xC2, 0x6B));
        QCOMPARE(Theme::riskColor(Risk::Review), QColor(0xF2, 0xA3, 0x3A));
        QCOMPARE(Theme::riskColor(Risk::Protected), QColor(0xE5, 0x48, 0x4D));
    }

    void accentGradientRunsFromTopLeftToBottomRight() {
        const QLinearGradient gradient = Theme::accentGradient(QRectF(10, 20, 100, 50));
        QCOMPARE(gradient.start(), QPointF(10, 20));
        QCOMPARE(gradient.finalStop(), QPointF(110, 70));
        QCOMPARE(gradient.stops().first().second, QColor(0x6E, 0x5B, 0xFF));
        QCOMPARE(gradient.stops().last().second, QColor(0x2F, 0xD5, 0xC9));
    }

    void textStylesScaleTheApplicationFont_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<int>("weight");
        const auto row = [](const char* name, TextStyle style, qreal scale, QFont::Weight weight) {
            QTest::newRow(name) << static_cast<int>(style) << scale << static_cast<int>(weight);
        };
        row("body", TextStyle::Body, 1.0, QFont::Normal);
        row("callout", TextStyle::Callout, 0.92, QFont::Normal);
        row("subheadline", TextStyle::Subheadline, 0.85, QFont::Normal);
        row("caption", TextStyle::Caption, 0.77, QFont::Normal);
        row("caption2", TextStyle::Caption2, 0.77, QFont::Normal);
        row("headline", TextStyle::Headline, 1.0, QFont::DemiBold);
        row("title3", TextStyle::Title3, 1.15, QFont::Normal);
        row("title2", TextStyle::Title2, 1.3, QFont::Normal);
        row("title", TextStyle::Title, 1.7, QFont::Normal);
        row("page title", TextStyle::PageTitle, 2.0, QFont::Bold);
        row("display small", TextStyle::DisplaySmall, 2.15, QFont::Bold);
        row("display medium", TextStyle::DisplayMedium, 2.92, QFont::Bold);
        row("display large", TextStyle::DisplayLarge, 4.15, QFont::Bold);
    }

    void textStylesScaleTheApplicationFont() {
        QFETCH(int, style);
        QFETCH(qreal, scale);
        QFETCH(int, weight);
        const QFont base = QApplication::font();
        const QFont font = Typography::font(static_cast<TextStyle>(style));
        QCOMPARE(font.pointSizeF(), base.pointSizeF() * scale);
        QCOMPARE(static_cast<int>(font.weight()), weight);
        QCOMPARE(font.family(), base.family());
    }

    // A weight given replaces the style's own and leaves its size alone.
    void aWeightGivenReplacesTheStylesOwn() {
        QCOMPARE(Typography::font(TextStyle::Body, FontWeight::Semibold).weight(), QFont::DemiBold);
        QCOMPARE(Typography::font(TextStyle::Headline, FontWeight::Bold).weight(), QFont::Bold);
        QCOMPARE(Typography::font(TextStyle::PageTitle, FontWeight::StyleDefault).weight(),
                 QFont::Bold);
        QCOMPARE(Typography::font(TextStyle::Title2, FontWeight::Bold).pointSizeF(),
                 Typography::font(TextStyle::Title2).pointSizeF());
    }

    void textStylesFollowAPixelSizedApplicationFont() {
        const QFont original = QApplication::font();
        QFont pixelSized = original;
        pixelSized.setPixelSize(20);
        QApplication::setFont(pixelSized);
        const int size = Typography::font(TextStyle::PageTitle).pixelSize();
        QApplication::setFont(original);
        QCOMPARE(size, 40);
    }
};

DORVALE_QT_TEST(ThemeTest)

} // namespace dorvale

#include "ThemeTest.moc"
