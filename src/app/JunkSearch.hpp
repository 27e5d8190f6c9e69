#pragma once

#include "app/AppServices.hpp"
#include "model/JunkFinding.hpp"
#include "model/JunkRule.hpp"

#include <functional>
#include <vector>

namespace dorvale {

/// The work of one junk scan of `rules`, to hand to `runInBackground`: the services' junk scan
/// over their locations, clock and access probe. It holds copies of what it needs, so it may
/// run on a worker after the caller has gone.
///
/// It finds nothing while the home folder is not an absolute path. Every user rule lies
/// beneath the home folder, a relative one would be taken against the working directory, and
/// the smart and automatic cleans delete what the scan finds for good.
[[nodiscard]] std::function<std::vector<JunkFinding>()> junkSearch(const AppServices& services,
                                                                   std::vector<JunkRule> rules);

} // namespace dorvale
