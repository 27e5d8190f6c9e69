#include "analysis/KindSymbol.hpp"

#include <array>

namespace dorvale {

QString kindSymbol(FileKind kind) {
    static constexpr std::array<const char*, allFileKinds.size()> symbols = {
        "doc.text.fill",
        "photo.fill",
        "film.fill",
        "waveform",
        "archivebox.fill",
        "opticaldiscdrive.fill",
        "chevron.left.forwardslash.chevron.right",
        "app.fill",
        "questionmark.square.dashed",
    };
    return QString::fromLatin1(symbols[static_cast<std::size_t>(kind)]);
}

QString kindTitle(FileKind kind) {
    const std::string_view text = title(kind);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace dorvale
