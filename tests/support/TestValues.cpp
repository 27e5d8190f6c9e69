#include "support/TestValues.hpp"

#include <stdexcept>

namespace dorvale::test {

Locations homeAt(std::string home, std::string dataVolume) {
    Locations locations;
    locations.home = std::move(home);
    locations.dataVolume = std::move(dataVolume);
    return locations;
}

const JunkRule& catalogueRule(std::string_view id) {
    for (const JunkRule& rule : JunkRule::all()) {
        if (rule.id == id) {
            return rule;
        }
    }
    throw std::logic_error("no rule " + std::string(id));
}

bool alwaysGranted(const Locations&) {
    return true;
}

bool neverGranted(const Locations&) {
    return false;
}

} // namespace dorvale::test
