#include "platform/desktop/QtDesktopServices.hpp"

#include "platform/Paths.hpp"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QStringList>

#include <unordered_set>

namespace dorvale {

namespace {

const QString fileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString fileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString fileManagerInterface = QStringLiteral("org.freedesktop.FileManager1");

// The URL of a path, built from its bytes so that a name that is not valid UTF-8 stays as
// it is on disk.
QUrl urlOf(std::string_view path) {
    return QUrl::fromEncoded(QByteArray::fromStdString(fileUri(path)));
}

QStringList urisOf(const std::vector<std::string>& paths) {
    QStringList uris;
    uris.reserve(static_cast<qsizetype>(paths.size()));
    for (const std::string& path : paths) {
        uris.append(QString::fromStdString(fileUri(path)));
    }
    return uris;
}

} // namespace

QtDesktopServices::QtDesktopServices(const SessionBus& bus, UrlOpener opener)
    : m_bus([&bus] { return bus.connection(); })
    , m_opener(opener ? std::move(opener)
                      : [](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

QtDesktopServices::QtDesktopServices(QDBusConnection bus, UrlOpener opener)
    : m_bus([bus = std::move(bus)] { return bus; })
    , m_opener(std::move(opener)) {}

void QtDesktopServices::open(const std::string& path) {
    m_opener(urlOf(path));
}

void QtDesktopServices::reveal(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    QDBusConnection bus = m_bus();
    if (!bus.isConnected()) {
        openParentFolders(paths);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        fileManagerService, fileManagerPath, fileManagerInterface, QStringLiteral("ShowItems"));
    call << urisOf(paths) << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, paths](QDBusPendingCallWatcher* finished) {
                if (finished->isError()) {
                    openParentFolders(paths);
                }
                finished->deleteLater();
            });
}

void QtDesktopServices::openParentFolders(const std::vector<std::string>& paths) {
    std::unordered_set<std::string_view> opened;
    for (const std::string& path : paths) {
        const std::string_view parent = parentPath(path);
        if (!parent.empty() && opened.insert(parent).second) {
            m_opener(urlOf(parent));
        }
    }
}

} // namespace dorvale
