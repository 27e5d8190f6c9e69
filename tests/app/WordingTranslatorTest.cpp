#include "app/WordingTranslator.hpp"

#include "platform/Tr.hpp"
#include "support/qt/QtTests.hpp"

#include <QtTest>

namespace dorvale {
namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Texts that no table of the program looks up and keeps, so nothing holds on to this
// catalogue's words once the test ends.
WordingCatalogue testWording() {
    return *WordingCatalogue::parse(R"({
        "Open it in Finder": "Open it in the file manager",
        "Only %1 left on your Mac": "Only %1 left on this computer"
    })");
}

class WordingTranslatorTest final : public QObject {
    Q_OBJECT

private slots:
    void theCoreAndTheToolkitLookTextsUpInOneCatalogue() {
        const WordingCatalogue wording = testWording();
        {
            const WordingTranslator translator(wording);
            // The context a Qt class's `tr` passes plays no part.
            for (const char* context : {"GeneralSettings", "QObject"}) {
                QCOMPARE(QCoreApplication::translate(context, "Open it in Finder"),
                         QStringLiteral("Open it in the file manager"));
            }
            QCOMPARE(fromView(dorvale::tr("Open it in Finder")),
                     QStringLiteral("Open it in the file manager"));

            QCOMPARE(
                QCoreApplication::translate("IdleStage", "Only %1 left on your Mac").arg("2 GB"),
                QStringLiteral("Only 2 GB left on this computer"));
            QCOMPARE(fromView(dorvale::tr("Only %1 left on your Mac")),
                     QStringLiteral("Only %1 left on this computer"));

            QCOMPARE(QCoreApplication::translate("ScanTarget", "Home folder"),
                     QStringLiteral("Home folder"));
            QCOMPARE(fromView(dorvale::tr("Home folder")), QStringLiteral("Home folder"));
        }
        // Without the program's start, as in every screen's test, the texts are the keys.
        QCOMPARE(QCoreApplication::translate("GeneralSettings", "Open it in Finder"),
                 QStringLiteral("Open it in Finder"));
        QCOMPARE(fromView(dorvale::tr("Open it in Finder")), QStringLiteral("Open it in Finder"));
    }

    void theProgramCarriesThisDesktopsWords() {
        QCOMPARE(builtInWording().find("Show in Finder"),
                 std::optional<std::string_view>("Show in File Manager"));
    }

    void onlyAnObjectOfStringsIsAWording() {
        for (const char* json : {"", "[]", R"({"Finder": 1})", R"({"Finder": "File Manager")"}) {
            QVERIFY2(!WordingCatalogue::parse(json), json);
        }
        QVERIFY(WordingCatalogue::parse("{}"));
    }
};

} // namespace

DORVALE_QT_TEST(WordingTranslatorTest)

} // namespace dorvale

#include "WordingTranslatorTest.moc"
