#pragma once

#include "platform/DesktopServices.hpp"
#include "platform/desktop/SessionBus.hpp"

#include <QDBusConnection>
#include <QObject>
#include <QUrl>

#include <functional>

namespace dorvale {

/// The desktop services of a freedesktop.org session. Opening hands a file URL to the
/// desktop's default handler (`QDesktopServices::openUrl`). Revealing asks the file manager
/// over D-Bus (org.freedesktop.FileManager1.ShowItems) without waiting for its answer; when
/// there is no session bus, or the call fails (no file manager offers the interface), the
/// parent folder of each item is opened instead, each folder once.
///
/// Lives on the GUI thread and is used only there. A reply that arrives after the object is
/// gone is dropped.
class QtDesktopServices final : public QObject, public DesktopServices {
public:
    /// Opens a URL; returns whether the desktop took it.
    using UrlOpener = std::function<bool(const QUrl&)>;

    /// The services on the session bus, once its connection is made; `opener` defaults to
    /// `QDesktopServices::openUrl`.
    explicit QtDesktopServices(const SessionBus& bus, UrlOpener opener = {});
    /// Services on another bus and opener, for tests.
    QtDesktopServices(QDBusConnection bus, UrlOpener opener);

    void open(const std::string& path) override;
    void reveal(const std::vector<std::string>& paths) override;

private:
    void openParentFolders(const std::vector<std::string>& paths);

    std::function<QDBusConnection()> m_bus;
    UrlOpener m_opener;
};

} // namespace dorvale
