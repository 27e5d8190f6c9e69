#pragma once

#include "cleanup/SmartCleanView.hpp"
#include "support/app/ChosenJunk.hpp"
#include "support/app/ShellFixture.hpp"

#include <QtTest>

#include <chrono>

namespace dorvale::test {

/// The smart clean over a real state whose junk scan finds what the test chose, with no
/// floors unless a test sets them. Members go in reverse order: the held junk scans are let
/// go before the shell fixture waits for the workers.
struct SmartCleanFixture {
    SmartCleanFixture() {
        using namespace std::chrono_literals;
        shell.services.scanJunk = junk.seam();
        shell.services.delays.smartScanFloor = 0ms;
        shell.services.delays.smartCleanFloor = 0ms;
    }

    [[nodiscard]] const Locations& locations() const { return shell.fixture.locations; }
    [[nodiscard]] JunkFinding finding(const std::string& ruleId, int count,
                                      std::int64_t size = 0) const {
        return ChosenJunk::finding(locations(), ruleId, count, size);
    }

    /// Makes the state and shows the smart clean in a window of `size`.
    SmartCleanView* show(QSize size = {900, 700}) {
        AppState& made = shell.makeState();
        return shell.show(new SmartCleanView(made), size);
    }
    AppState& state() { return *shell.state; }

    /// Takes the shown flow from the start page to the review of what the junk scan finds.
    void reachReview() {
        shell.state->startSmartClean();
        QTRY_COMPARE(shell.state->smartPhase(), SmartPhase::Review);
    }

    ShellFixture shell;
    ChosenJunk junk;
};

} // namespace dorvale::test
