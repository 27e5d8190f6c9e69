#pragma once

#include <string_view>

namespace dorvale {

class WordingCatalogue;

/// Looks up the text shown to the user for a fixed English text. The key must have static
/// storage (a string literal); the result stays valid for the life of the process. A key the
/// installed wording does not map, or any key while none is installed, is its own text.
[[nodiscard]] std::string_view tr(std::string_view key);

/// Makes `tr` look texts up in `wording` from now on (`nullptr` puts the keys back). The
/// program installs its wording once, before other threads start; the catalogue must outlive
/// every later lookup.
void installWording(const WordingCatalogue* wording);

} // namespace dorvale
