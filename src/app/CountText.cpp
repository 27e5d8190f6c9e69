#include "app/CountText.hpp"

#include <QLocale>

namespace dorvale {

QString countText(std::int64_t count) {
    return QLocale().toString(static_cast<qlonglong>(count));
}

} // namespace dorvale
