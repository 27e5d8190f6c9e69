#include "platform/WordingCatalogue.hpp"

#include <nlohmann/json.hpp>

namespace dorvale {

std::optional<WordingCatalogue> WordingCatalogue::parse(std::string_view json) {
    const nlohmann::json document = nlohmann::json::parse(json, nullptr, false);
    if (!document.is_object()) {
        return std::nullopt;
    }
    WordingCatalogue catalogue;
    for (const auto& [source, shown] : document.items()) {
        if (!shown.is_string()) {
            return std::nullopt;
        }
        catalogue.m_entries.emplace(source, shown.get<std::string>());
    }
    return catalogue;
}

std::optional<std::string_view> WordingCatalogue::find(std::string_view source) const {
    const auto found = m_entries.find(source);
    if (found == m_entries.end()) {
        return std::nullopt;
    }
    return std::string_view(found->second);
}

} // namespace dorvale
