#pragma once

#include "app/AppState.hpp"
#include "platform/Paths.hpp"
#include "support/TreeBuilder.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"

#include <memory>
#include <optional>
#include <string>

namespace dorvale::test {

/// The analysis screens' subject: a real state on the shell's fakes, and scans built by hand
/// beneath the fixture's home folder, published as a finished scan publishes them.
struct AnalysisFixture : ShellFixture {
    AnalysisFixture() { makeState(); }

    /// A tree rooted at `relative` inside the fixture's data volume ("" for the volume).
    [[nodiscard]] TreeBuilder builderAt(std::string_view relative) const {
        return TreeBuilder(relative.empty() ? fixture.locations.dataVolume
                                            : joinPath(fixture.locations.dataVolume, relative));
    }
    [[nodiscard]] TreeBuilder homeBuilder() const { return TreeBuilder(fixture.locations.home); }

    /// Publishes the finished tree as the scan of `target`.
    std::shared_ptr<ScanResult> publish(TreeBuilder& builder,
                                        std::optional<ScanTarget> target = ScanTarget::home()) {
        auto scan = std::make_shared<ScanResult>(builder.finish());
        AppStateAccess(*state).setScan(scan, std::move(target));
        return scan;
    }
};

} // namespace dorvale::test
