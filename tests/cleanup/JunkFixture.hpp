#pragma once

#include "cleanup/JunkModel.hpp"
#include "cleanup/JunkView.hpp"
#include "support/app/ChosenJunk.hpp"
#include "support/app/ShellFixture.hpp"

#include <QAbstractItemModelTester>

#include <memory>

namespace dorvale::test {

/// The junk screen over a real state whose junk scan finds what the test chose, with a
/// model tester on the screen's list. Members go in reverse order: the tester goes before
/// the screen, and the held junk scans are let go before the shell fixture waits for the
/// workers.
struct JunkFixture {
    JunkFixture() { shell.services.scanJunk = junk.seam(); }

    [[nodiscard]] JunkFinding finding(const std::string& ruleId, int count,
                                      std::int64_t size = 0) const {
        return ChosenJunk::finding(shell.fixture.locations, ruleId, count, size);
    }
    /// Findings of 2, 300 and 301 items: installers in Downloads (sent to the Trash, to be
    /// reviewed), app caches and the Trash (deleted at once), in that order.
    [[nodiscard]] std::vector<JunkFinding> standard() const {
        return {finding("old-installers", 2, 1'000'000), finding("user-caches", 300, 1'000),
                finding("trash", 301, 10)};
    }

    /// Makes the state and shows the junk screen in a window of `size`.
    JunkView* show(QSize size = {900, 700}) {
        AppState& made = shell.makeState();
        view = shell.show(new JunkView(made), size);
        tester = std::make_unique<QAbstractItemModelTester>(
            view->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        return view;
    }
    AppState& state() { return *shell.state; }

    ShellFixture shell;
    ChosenJunk junk;
    JunkView* view = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace dorvale::test
