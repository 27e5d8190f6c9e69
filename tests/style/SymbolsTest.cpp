#include "style/Symbols.hpp"

#include "inventory/SystemDataPart.hpp"
#include "model/StorageBucket.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/RiskBadge.hpp"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <QtTest>

namespace dorvale {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Symbol names written in the sources: string literals shaped like a symbol name ("folder",
// "trash.fill") on lines that speak of a symbol (".symbol =", `setSymbol(`, `SymbolIcon(`).
// The table itself is left out: it also holds the freedesktop names and drawings.
QSet<QString> symbolNamesInSources() {
    static const QRegularExpression symbolLine(QStringLiteral("symbol(?!ic)"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression literal(QStringLiteral("\"([a-z][a-z0-9]*(\\.[a-z0-9]+)*)\""));
    QSet<QString> names;
    QDirIterator files(QStringLiteral(DORVALE_SOURCE_DIR), {"*.cpp", "*.hpp"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (path.endsWith(QStringLiteral("style/Symbols.cpp"))) {
            continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (!line.contains(symbolLine)) {
                continue;
            }
            for (const QRegularExpressionMatch& match : literal.globalMatch(line)) {
                if (match.captured(1) != QStringLiteral("symbol")) {
                    names.insert(match.captured(1));
                }
            }
        }
    }
    return names;
}

// Symbol names that the core's tables hold.
QSet<QString> symbolNamesOfTheCore() {
    QSet<QString> names;
    for (StorageBucket bucket : allStorageBuckets) {
        names.insert(fromView(symbol(bucket)));
    }
    for (const SystemDataComponent& component : SystemDataPart::catalogue()) {
        names.insert(fromView(component.symbol));
    }
    for (Risk risk : allRisks) {
        names.insert(RiskBadge::symbolName(risk));
    }
    return names;
}

bool drawsSomething(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class SymbolsTest : public QObject {
    Q_OBJECT

private slots:
    void everySymbolNameInUseDraws() {
        const QSet<QString> fromSources = symbolNamesInSources();
        // The scan must see the recommendations' names, or it finds nothing at all.
        QVERIFY(fromSources.contains(QStringLiteral("clock.badge.exclamationmark.fill")));
        const QSet<QString> names = fromSources + symbolNamesOfTheCore();
        for (const QString& name : names) {
            QVERIFY2(Symbols::isKnown(name), qPrintable(name));
            QVERIFY2(!Symbols::icon(name).isNull(), qPrintable(name));
            QVERIFY2(drawsSomething(Symbols::pixmap(name, 16, Qt::black)), qPrintable(name));
        }
    }

    // The bundled drawings stand in on a system without an icon theme: each must be a valid
    // drawing that covers something when tinted.
    void everySymbolHasABundledDrawing() {
        for (const QString& name : Symbols::names()) {
            const QString path = Symbols::fallbackPath(name);
            QVERIFY2(QSvgRenderer(path).isValid(), qPrintable(name));
            QVERIFY2(drawsSomething(Symbols::tinted(QIcon(path), 16, Qt::black)), qPrintable(name));
            QVERIFY2(!Symbols::themeName(name).isEmpty(), qPrintable(name));
        }
    }

    void theTableIsSortedForItsLookUp() {
        QStringList sorted = Symbols::names();
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(Symbols::names(), sorted);
        for (const QString& name : Symbols::names()) {
            QVERIFY(Symbols::isKnown(name));
        }
    }

    void anUnknownNameHasNoIcon() {
        QVERIFY(!Symbols::isKnown(QStringLiteral("no.such.symbol")));
        QVERIFY(Symbols::themeName(QStringLiteral("no.such.symbol")).isEmpty());
        QTest::ignoreMessage(QtWarningMsg, "Unknown symbol name: \"no.such.symbol\"");
        QVERIFY(Symbols::icon(QStringLiteral("no.such.symbol")).isNull());
    }

    void aTintPaintsEveryCoveredPixelInItsColour() {
        const QColor tint(200, 30, 60);
        const QImage image = Symbols::pixmap(QStringLiteral("xmark"), 16, tint).toImage();
        int covered = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) == 255) {
                    ++covered;
                    QCOMPARE(QColor(pixel), tint);
                }
            }
        }
        QVERIFY(covered > 0);
    }
};

DORVALE_QT_TEST(SymbolsTest)

} // namespace dorvale

#include "SymbolsTest.moc"
