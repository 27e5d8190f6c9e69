#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace dorvale {

/// The words this desktop uses where the program's fixed texts were written for another
/// one: each entry maps a text exactly as the code hands it to the lookup to the text shown
/// here. A text without an entry is shown as it stands.
class WordingCatalogue {
public:
    /// The catalogue written as a JSON object of strings; nothing when `json` is not one.
    [[nodiscard]] static std::optional<WordingCatalogue> parse(std::string_view json);

    /// The text shown for `source`, when the catalogue has one. The view stays valid for the
    /// life of the catalogue.
    [[nodiscard]] std::optional<std::string_view> find(std::string_view source) const;

    /// Every entry, ordered by source text.
    [[nodiscard]] const std::map<std::string, std::string, std::less<>>& entries() const {
        return m_entries;
    }

private:
    std::map<std::string, std::string, std::less<>> m_entries;
};

} // namespace dorvale
