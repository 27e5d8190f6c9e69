#pragma once

#include "model/JunkRule.hpp"
#include "platform/Locations.hpp"

#include <string>
#include <string_view>

// Small values that tests of many engines build the same way.
namespace dorvale::test {

/// Locations that give only a home folder and a data volume, for engines that read nothing
/// else and never touch the disk.
[[nodiscard]] Locations homeAt(std::string home, std::string dataVolume = "/");

/// The rule of the junk catalogue with this identifier; throws when there is none.
[[nodiscard]] const JunkRule& catalogueRule(std::string_view id);

/// Full disk access probes with a fixed answer.
[[nodiscard]] bool alwaysGranted(const Locations&);
[[nodiscard]] bool neverGranted(const Locations&);

} // namespace dorvale::test
