#include "gallery/Gallery.hpp"
#include "shell/tray/MenuBarPanel.hpp"
#include "shell/tray/TraySymbol.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QRegularExpression>
#include <QtTest>

#include <string>

namespace dorvale {

namespace {

using test::ShellFixture;

const std::string longName =
    "Backups of the family photo library and every project archive since 2009";

} // namespace

// Renders the tray's symbols on dark and light panels, and its panel with a plain volume, with
// every line it can show, and without a volume. Offscreen rendering may warn only that it cannot
// hand size limits to the window system. With DORVALE_GALLERY_DIR set, the pictures are written
// there to be looked at.
class TrayGalleryTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    // The tray's symbols at the sizes panels use, on a dark and a light panel, each drawn in
    // that panel's text colour.
    void symbols() {
        const struct {
            const char* name;
            QColor panel;
            QColor text;
        } panels[] = {
            {"tray-symbols-dark", QColor(0x24, 0x24, 0x24), QColor(0xf2, 0xf2, 0xf2)},
            {"tray-symbols-light", QColor(0xf6, 0xf5, 0xf4), QColor(0x24, 0x24, 0x24)},
        };
        for (const auto& panel : panels) {
            QWidget strip;
            strip.setAutoFillBackground(true);
            QPalette palette = strip.palette();
            palette.setColor(QPalette::Window, panel.panel);
            strip.setPalette(palette);
            auto* layout = new QHBoxLayout(&strip);
            for (const char* symbol : {"internaldrive", "exclamationmark.triangle.fill"}) {
                for (const int size : {16, 22, 32}) {
                    auto* icon = new QLabel;
                    icon->setPixmap(
                        traySymbol(QString::fromLatin1(symbol), panel.text).pixmap(size));
                    layout->addWidget(icon);
                }
            }
            strip.show();
            test::savePicture(strip, QString::fromLatin1(panel.name));
        }
    }

    void panels_data() {
        QTest::addColumn<bool>("known");
        QTest::addColumn<bool>("extras");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << true << false << "tray-panel-plain";
        QTest::newRow("long name, purgeable, auto-clean") << true << true << "tray-panel-full";
        QTest::newRow("no volume") << false << true << "tray-panel-no-volume";
    }

    // Nothing is cut in the panel's fixed width, and a volume name that had to be shortened
    // shows whole as its tool tip.
    void panels() {
        QFETCH(bool, known);
        QFETCH(bool, extras);
        QFETCH(QString, name);
        ShellFixture f;
        if (!known) {
            f.fixture.volume.reset();
        } else if (extras) {
            f.fixture.volume = VolumeInfo{longName, 994'662'584'320, 9'876'543'210, 21'234'567'890};
        }
        AppState& state = f.makeState();
        MenuBarPanel panel(state);
        if (extras) {
            state.background().setLastAutoClean(f.fixture.clock.now() - 3 * 3600);
            state.background().setLastAutoCleanBytes(1'234'567'890);
        }
        panel.popUp(QRect(0, 0, 24, 24));
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        test::finishAnimations(panel);
        test::savePicture(panel, name);
        QCOMPARE(test::clippedWidgets(panel).join(QStringLiteral("; ")), QString());
        auto* volumeName = panel.findChild<ElidedLabel*>(QStringLiteral("volumeName"));
        QCOMPARE(test::hoverToolTip(*volumeName),
                 volumeName->isElided() ? QString::fromStdString(longName) : QString());
    }
};

DORVALE_QT_TEST(TrayGalleryTest)

} // namespace dorvale

#include "TrayGalleryTest.moc"
