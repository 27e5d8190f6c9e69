#include "shell/tray/TraySymbol.hpp"

#include "shell/tray/MenuBarExtra.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QtTest>

#include <cstdlib>

namespace dorvale {

namespace {

using test::ShellFixture;

// Whether `icon` drawn at `size` shows a shape, and every pixel of it is `color`. The edges'
// faint pixels lose some precision to premultiplied alpha, so they count only roughly.
bool drawnIn(const QIcon& icon, int size, const QColor& color) {
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    constexpr int leeway = 4;
    int covered = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 128) {
                continue;
            }
            ++covered;
            if (std::abs(pixel.red() - color.red()) > leeway ||
                std::abs(pixel.green() - color.green()) > leeway ||
                std::abs(pixel.blue() - color.blue()) > leeway) {
                return false;
            }
        }
    }
    return covered > 0;
}

// The application's palette with `text` as its text colour, for as long as it lives.
struct TextColour {
    explicit TextColour(const QColor& text) {
        QPalette palette = before;
        palette.setColor(QPalette::WindowText, text);
        QApplication::setPalette(palette);
    }
    ~TextColour() { QApplication::setPalette(before); }
    TextColour(const TextColour&) = delete;
    TextColour& operator=(const TextColour&) = delete;

    const QPalette before = QApplication::palette();
};

} // namespace

class TraySymbolTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(QRegularExpression(
            QStringLiteral("^(?!This plugin does not support|.*systemTrayWindowChanged).*")));
    }

    // A square symbol in the given colour at each size a tray asks for, not a black glyph.
    void theSymbolIsDrawnInTheGivenColourAtTheTraysSizes() {
        const QIcon icon = traySymbol(u"internaldrive", Qt::white);
        for (const int size : {16, 22, 24, 32, 48}) {
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                     qPrintable(QString::number(size)));
            QVERIFY2(drawnIn(icon, size, Qt::white), qPrintable(QString::number(size)));
        }
    }

    // The icon follows the panel's text colour: drawn light on a dark desktop, and drawn
    // again when the palette changes.
    void theTrayIconFollowsThePalette() {
        ShellFixture f;
        AppState& state = f.makeState();
        test::AppStateAccess(state).setVolume(f.fixture.volume);
        const TextColour light(QColor(0xf0, 0xf0, 0xf0));
        MenuBarExtra extra(state, [] { return true; });
        QVERIFY(extra.isShown());
        QVERIFY(drawnIn(extra.icon()->icon(), 22, QColor(0xf0, 0xf0, 0xf0)));
        QCOMPARE(extra.icon()->toolTip(), QStringLiteral("120 GB free"));

        const TextColour dark(QColor(0x20, 0x20, 0x20));
        QVERIFY(drawnIn(extra.icon()->icon(), 22, QColor(0x20, 0x20, 0x20)));
    }
};

DORVALE_QT_TEST(TraySymbolTest)

} // namespace dorvale

#include "TraySymbolTest.moc"
