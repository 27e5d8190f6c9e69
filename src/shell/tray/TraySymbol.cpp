#include "shell/tray/TraySymbol.hpp"

#include "style/Symbols.hpp"

#include <QGuiApplication>
#include <QScreen>

#include <array>

namespace dorvale {

namespace {

// The sizes trays draw their icons at: 16 and 22 on most panels, larger on tall panels and
// in hosts that scale what they are given.
constexpr std::array traySizes = {16, 22, 24, 32, 48, 64};

} // namespace

QIcon traySymbol(QStringView symbol, const QColor& color) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    QIcon icon;
    for (const int size : traySizes) {
        icon.addPixmap(Symbols::pixmap(symbol, size, color, ratio));
    }
    return icon;
}

} // namespace dorvale
