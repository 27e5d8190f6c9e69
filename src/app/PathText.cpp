#include "app/PathText.hpp"

#include "model/DisplayPath.hpp"

#include <QByteArray>
#include <QFile>

namespace dorvale {

QString pathText(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QString shownPath(std::string_view path, const Locations& locations) {
    return pathText(displayPath(path, locations));
}

} // namespace dorvale
