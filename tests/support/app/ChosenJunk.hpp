#pragma once

#include "app/AppServices.hpp"
#include "model/JunkFinding.hpp"
#include "platform/Locations.hpp"
#include "support/FixtureTree.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dorvale::test {

/// A junk scan seam (`AppServices::scanJunk`) that finds what the test chose, so screens can
/// be shown over findings of any shape. A scan may be held on its worker until the test lets
/// it go. Safe from any thread.
class ChosenJunk {
public:
    ChosenJunk();
    ~ChosenJunk();
    ChosenJunk(const ChosenJunk&) = delete;
    ChosenJunk& operator=(const ChosenJunk&) = delete;

    /// The seam to put into the services. It outlives this object.
    [[nodiscard]] JunkScanFunction seam() const;
    /// What every later scan finds.
    void answer(std::vector<JunkFinding> findings);
    /// Holds every later scan until `release`.
    void hold();
    /// Lets the held scans and every later one end.
    void release();
    /// How many scans have begun.
    [[nodiscard]] int scans() const;

    /// The finding of the catalogue rule `ruleId` with `count` items of `size` bytes each,
    /// named "<prefix><n>" in the rule's base folder under `locations`. With `size` 0 the items
    /// are `count` down to 1 byte, the largest first as the scan gives them.
    [[nodiscard]] static JunkFinding finding(const Locations& locations, const std::string& ruleId,
                                             int count, std::int64_t size,
                                             const std::string& prefix = "item-");
    /// Writes every item of `finding` into `tree` as a file, so a deletion can remove it.
    static void writeItems(FixtureTree& tree, const JunkFinding& finding);

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace dorvale::test
