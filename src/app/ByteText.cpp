#include "app/ByteText.hpp"

#include "platform/ByteFormatter.hpp"

namespace dorvale {

QString byteText(std::int64_t byteCount) {
    return QString::fromStdString(byteFormatter().string(byteCount));
}

} // namespace dorvale
