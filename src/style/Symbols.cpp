#include "style/Symbols.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QPainter>
#include <QPixmapCache>
#include <QStandardPaths>
#include <QtDebug>

#include <algorithm>
#include <array>
#include <string_view>

namespace dorvale {

namespace {

struct SymbolEntry {
    std::string_view name;
    // The freedesktop icon name; mostly the "-symbolic" forms, which are single-colour
    // shapes like the bundled drawings.
    std::string_view themeName;
    // The bundled drawing, shared by symbols that only differ in a fill the tint hides.
    std::string_view shape;
};

// Sorted by name.
constexpr std::array symbolTable = std::to_array<SymbolEntry>({
    {"app.fill", "application-x-executable-symbolic", "app"},
    {"apple.logo", "computer-symbolic", "computer"},
    {"archivebox.fill", "package-x-generic-symbolic", "archivebox"},
    {"arrow.clockwise", "view-refresh-symbolic", "arrow-clockwise"},
    {"arrow.down.circle", "software-update-available-symbolic", "arrow-down-circle"},
    {"arrow.down.circle.fill", "folder-download-symbolic", "arrow-down-circle"},
    {"arrow.up", "go-up-symbolic", "arrow-up"},
    {"arrow.up.forward.app", "system-file-manager-symbolic", "arrow-up-forward-app"},
    {"arrow.up.left.and.arrow.down.right", "view-fullscreen-symbolic", "arrows-expand"},
    {"arrow.uturn.backward.circle.fill", "edit-undo-symbolic", "undo"},
    {"brain", "applications-science-symbolic", "brain"},
    {"calendar.badge.clock", "x-office-calendar-symbolic", "calendar"},
    {"chart.pie", "office-chart-pie", "pie"},
    {"chart.pie.fill", "office-chart-pie", "pie"},
    {"checkmark", "object-select-symbolic", "checkmark"},
    {"checkmark.circle.fill", "emblem-ok-symbolic", "checkmark-circle"},
    {"checkmark.shield.fill", "security-high-symbolic", "shield-check"},
    {"chevron.compact.right", "pan-end-symbolic", "chevron-right"},
    {"chevron.left", "go-previous-symbolic", "chevron-left"},
    {"chevron.left.forwardslash.chevron.right", "text-x-script", "code"},
    {"chevron.right", "go-next-symbolic", "chevron-right"},
    {"clock.arrow.circlepath", "document-open-recent-symbolic", "clock-history"},
    {"clock.badge.exclamationmark.fill", "appointment-missed-symbolic", "clock-alert"},
    {"doc.on.doc", "edit-copy-symbolic", "docs"},
    {"doc.on.doc.fill", "edit-copy-symbolic", "docs"},
    {"doc.text", "text-x-generic-symbolic", "doc-text"},
    {"doc.text.fill", "x-office-document-symbolic", "doc-text"},
    {"ellipsis.circle.fill", "view-more-horizontal-symbolic", "ellipsis-circle"},
    {"exclamationmark.triangle.fill", "dialog-warning-symbolic", "warning"},
    {"externaldrive.fill.badge.checkmark", "drive-harddisk-symbolic", "drive-check"},
    {"eye.slash", "view-conceal-symbolic", "eye-slash"},
    {"film.fill", "video-x-generic-symbolic", "film"},
    {"film.stack.fill", "folder-videos-symbolic", "film"},
    {"folder", "folder-symbolic", "folder"},
    {"folder.fill", "folder-symbolic", "folder"},
    {"gearshape", "preferences-system-symbolic", "gear"},
    {"gearshape.2.fill", "applications-system-symbolic", "gears"},
    {"gearshape.fill", "emblem-system-symbolic", "gear"},
    {"hammer.fill", "applications-engineering-symbolic", "hammer"},
    {"icloud.and.arrow.down.fill", "emblem-synchronizing-symbolic", "cloud-down"},
    {"info.circle", "dialog-information-symbolic", "info"},
    {"internaldrive", "drive-harddisk-symbolic", "drive"},
    {"internaldrive.fill", "drive-harddisk-symbolic", "drive"},
    {"iphone", "phone-apple-iphone-symbolic", "phone"},
    {"list.bullet", "view-list-bullet-symbolic", "list"},
    {"lock.fill", "changes-prevent-symbolic", "lock"},
    {"lock.shield.fill", "channel-secure-symbolic", "shield-lock"},
    {"magnifyingglass", "system-search-symbolic", "magnifier"},
    {"memorychip", "media-flash-symbolic", "chip"},
    {"minus", "list-remove-symbolic", "minus"},
    {"music.note", "audio-x-generic-symbolic", "note"},
    {"opticaldiscdrive.fill", "media-optical-symbolic", "disc"},
    {"paperclip", "mail-attachment-symbolic", "paperclip"},
    {"photo.fill", "image-x-generic-symbolic", "photo"},
    {"photo.on.rectangle.angled", "folder-pictures-symbolic", "photo"},
    {"plus", "list-add-symbolic", "plus"},
    {"power.circle.fill", "system-shutdown-symbolic", "power"},
    {"puzzlepiece.extension.fill", "application-x-addon-symbolic", "puzzle"},
    {"questionmark.square.dashed", "dialog-question-symbolic", "question"},
    {"shippingbox", "package-x-generic-symbolic", "box"},
    {"shippingbox.fill", "package-x-generic-symbolic", "box"},
    {"sparkles", "edit-clear-all-symbolic", "sparkles"},
    {"square.and.arrow.up", "document-send-symbolic", "share"},
    {"square.grid.2x2.fill", "view-app-grid-symbolic", "grid"},
    {"square.stack.3d.up.fill", "view-continuous-symbolic", "stack"},
    {"trash.circle.fill", "user-trash-symbolic", "trash"},
    {"trash.fill", "user-trash-symbolic", "trash"},
    {"tray.full.fill", "emblem-documents-symbolic", "tray"},
    {"wand.and.stars", "tools-wizard", "wand"},
    {"waveform", "audio-volume-high-symbolic", "waveform"},
    {"xmark", "window-close-symbolic", "xmark"},
    {"xmark.circle.fill", "edit-clear-symbolic", "xmark-circle"},
    {"xmark.octagon.fill", "dialog-error-symbolic", "xmark-octagon"},
});

// The theme every freedesktop desktop can fall back on; installed with the program's
// dependencies.
constexpr auto fallbackTheme = "Adwaita";

QString toQString(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

const SymbolEntry* find(QStringView name) {
    const QByteArray key = name.toLatin1();
    const std::string_view wanted(key.constData(), static_cast<std::size_t>(key.size()));
    const auto* found = std::lower_bound(
        symbolTable.begin(), symbolTable.end(), wanted,
        [](const SymbolEntry& entry, std::string_view value) { return entry.name < value; });
    return found != symbolTable.end() && found->name == wanted ? found : nullptr;
}

QString drawingPath(const SymbolEntry& entry) {
    return QStringLiteral(":/symbols/%1.svg").arg(toQString(entry.shape));
}

// Resolved icons by symbol name. Emptied when the application object goes, while the icon
// engines they hold can still be destroyed safely.
QHash<QString, QIcon>& resolvedIcons() {
    static QHash<QString, QIcon> icons;
    [[maybe_unused]] static const bool registered = [] {
        qAddPostRoutine([] { resolvedIcons().clear(); });
        return true;
    }();
    return icons;
}

QIcon lookUp(const SymbolEntry& entry) {
    Symbols::prepareIconTheme();
    QIcon themed = QIcon::fromTheme(toQString(entry.themeName));
    if (!themed.isNull()) {
        return themed;
    }
    return QIcon(drawingPath(entry));
}

} // namespace

void Symbols::prepareIconTheme() {
    static bool prepared = false;
    if (prepared) {
        return;
    }
    prepared = true;
    if (QIcon::themeName().isEmpty()) {
        QStringList paths = QIcon::themeSearchPaths();
        QStringList folders{QDir::homePath() + QStringLiteral("/.icons")};
        for (const QString& data :
             QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            folders.append(data + QStringLiteral("/icons"));
        }
        for (const QString& folder : folders) {
            if (!paths.contains(folder)) {
                paths.append(folder);
            }
        }
        QIcon::setThemeSearchPaths(paths);
        QIcon::setThemeName(QString::fromLatin1(fallbackTheme));
    }
    if (QIcon::fallbackThemeName().isEmpty()) {
        QIcon::setFallbackThemeName(QString::fromLatin1(fallbackTheme));
    }
}

QStringList Symbols::names() {
    QStringList names;
    names.reserve(static_cast<qsizetype>(symbolTable.size()));
    for (const SymbolEntry& entry : symbolTable) {
        names.append(toQString(entry.name));
    }
    return names;
}

bool Symbols::isKnown(QStringView name) {
    return find(name) != nullptr;
}

QString Symbols::themeName(QStringView name) {
    const SymbolEntry* entry = find(name);
    return entry != nullptr ? toQString(entry->themeName) : QString();
}

QString Symbols::fallbackPath(QStringView name) {
    const SymbolEntry* entry = find(name);
    return entry != nullptr ? drawingPath(*entry) : QString();
}

QIcon Symbols::icon(QStringView name) {
    QHash<QString, QIcon>& resolved = resolvedIcons();
    const QString key = name.toString();
    if (const auto found = resolved.constFind(key); found != resolved.constEnd()) {
        return *found;
    }
    const SymbolEntry* entry = find(name);
    if (entry == nullptr) {
        qWarning() << "Unknown symbol name:" << key;
        return {};
    }
    return *resolved.insert(key, lookUp(*entry));
}

QPixmap Symbols::pixmap(QStringView name, int size, const QColor& color, qreal devicePixelRatio) {
    const QString key = QStringLiteral("dorvale-symbol:%1:%2:%3:%4")
                            .arg(name)
                            .arg(size)
                            .arg(color.rgba(), 0, 16)
                            .arg(devicePixelRatio);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached)) {
        return cached;
    }
    cached = tinted(icon(name), size, color, devicePixelRatio);
    QPixmapCache::insert(key, cached);
    return cached;
}

QPixmap Symbols::tinted(const QIcon& icon, int size, const QColor& color, qreal devicePixelRatio) {
    QPixmap result(QSize(size, size) * devicePixelRatio);
    result.setDevicePixelRatio(devicePixelRatio);
    result.fill(Qt::transparent);
    if (icon.isNull() || size <= 0) {
        return result;
    }
    const QPixmap source = icon.pixmap(QSize(size, size), devicePixelRatio);
    const QSizeF sourceSize = source.deviceIndependentSize();
    QPainter painter(&result);
    painter.drawPixmap(QPointF((size - sourceSize.width()) / 2, (size - sourceSize.height()) / 2),
                       source);
    painter.end();
    fill(result, color);
    return result;
}

void Symbols::fill(QPixmap& symbol, const QBrush& brush) {
    QPainter painter(&symbol);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), symbol.deviceIndependentSize()), brush);
}

} // namespace dorvale
