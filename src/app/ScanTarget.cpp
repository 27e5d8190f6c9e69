#include "app/ScanTarget.hpp"

#include "app/PathText.hpp"
#include "platform/Paths.hpp"

#include <QCoreApplication>

namespace dorvale {

ScanTarget ScanTarget::folder(std::string_view path) {
    while (path.size() > 1 && path.ends_with('/')) {
        path.remove_suffix(1);
    }
    return ScanTarget(Kind::Folder, std::string(path));
}

std::string ScanTarget::rootPath(const Locations& locations) const {
    switch (m_kind) {
    case Kind::WholeDisk:
        return locations.dataVolume;
    case Kind::Home:
        return locations.home;
    case Kind::Folder:
        break;
    }
    return m_path;
}

QString ScanTarget::title() const {
    switch (m_kind) {
    case Kind::WholeDisk:
        return QCoreApplication::translate("ScanTarget", "Entire disk");
    case Kind::Home:
        return QCoreApplication::translate("ScanTarget", "Home folder");
    case Kind::Folder:
        break;
    }
    if (m_path == "/") {
        return QStringLiteral("/");
    }
    return pathText(lastComponent(m_path));
}

} // namespace dorvale
