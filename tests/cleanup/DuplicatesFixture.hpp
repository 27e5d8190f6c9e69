#pragma once

#include "cleanup/DuplicatesView.hpp"
#include "support/TreeBuilder.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/Gate.hpp"
#include "support/app/ShellFixture.hpp"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dorvale::test {

/// A duplicate search that waits at a gate, reports half done, and ends with the groups the
/// test chose; it keeps its progress callback so that a test can report once more after the
/// result.
struct HeldSearch {
    struct Shared {
        std::mutex mutex;
        std::vector<DuplicateGroup> groups;
        DuplicateFinder::Progress progress;
    };

    FindDuplicatesFunction seam() {
        return
            [gate = gate.pass(), shared = shared](std::span<const DuplicateCandidate>, std::int64_t,
                                                  const DuplicateFinder::Progress& progress) {
                gate();
                const std::lock_guard lock(shared->mutex);
                shared->progress = progress;
                progress(0.5);
                return shared->groups;
            };
    }
    void answer(std::vector<DuplicateGroup> groups) {
        const std::lock_guard lock(shared->mutex);
        shared->groups = std::move(groups);
    }

    Gate gate;
    std::shared_ptr<Shared> shared = std::make_shared<Shared>();
};

/// The duplicates page over a real state whose searches wait at the gate of `search`.
/// Members go in reverse order: the gate opens before the shell fixture waits for the
/// workers.
struct DuplicatesFixture {
    DuplicatesFixture() { shell.services.findDuplicates = search.seam(); }

    DuplicatesView* show(QSize size = {900, 640}) {
        AppState& made = shell.makeState();
        return shell.show(new DuplicatesView(made), size);
    }
    AppState& state() { return *shell.state; }

    /// A scan of the home folder with `groups` sets of copies, the i-th of `copies[i]` files
    /// of `sizes[i]` bytes, named "<folder>/<name>" with older copies first; published as the
    /// current scan, and its groups as the state's duplicates when `publish` is true.
    std::vector<DuplicateGroup> scanWithCopies(const std::vector<int>& copies,
                                               const std::vector<std::int64_t>& sizes,
                                               bool publish = true) {
        TreeBuilder builder(shell.fixture.locations.home);
        std::vector<FileNode*> folders;
        for (std::size_t g = 0; g < copies.size(); ++g) {
            while (folders.size() < static_cast<std::size_t>(copies[g])) {
                folders.push_back(
                    builder.folder(builder.root(), "copy" + std::to_string(folders.size())));
            }
        }
        std::vector<DuplicateGroup> groups;
        for (std::size_t g = 0; g < copies.size(); ++g) {
            DuplicateGroup group{.id = std::string(64, char('a' + g)), .size = sizes[g]};
            for (int c = 0; c < copies[g]; ++c) {
                group.files.push_back(builder.file(
                    folders[static_cast<std::size_t>(c)], "file" + std::to_string(g) + ".bin",
                    sizes[g], NodeOptions{.modified = 1'600'000'000.0 + c * 86'400.0}));
            }
            groups.push_back(std::move(group));
        }
        scan = std::make_shared<ScanResult>(builder.finish());
        AppStateAccess(state()).setScan(scan, std::nullopt);
        if (publish) {
            AppStateAccess(state()).setDuplicates(groups);
        }
        return groups;
    }

    ShellFixture shell;
    HeldSearch search;
    std::shared_ptr<ScanResult> scan;
};

} // namespace dorvale::test
