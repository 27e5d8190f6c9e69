#pragma once

#include "model/SafetyVerdict.hpp"
#include "platform/Locations.hpp"
#include "platform/Workspace.hpp"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// One row of a built-in safety table: a path and the sentence given for it.
struct SafetyRule {
    std::string_view path{};
    std::string_view reason{};
};

/// Decides how risky it is to delete a path. The verdict comes from a fixed sequence of
/// tests over the path, backed by built-in tables; the first test that applies decides.
///
/// The tests are lexical: the path is normalised first ("//", ".", "..", a trailing "/"), so
/// a spelling of a path never gets a weaker verdict than the path itself. Paths are taken
/// with or without the data-volume prefix, and so are the home folder and the other
/// locations. The only reads of the file system are those of application bundles (a path
/// ending in ".app"), and for those the workspace is asked for the running applications.
///
/// Threads: the policy keeps no mutable state, so `verdict` may run on any thread, as long
/// as the workspace may be asked from it. The tables are built once, on first use, from any
/// thread. The workspace must outlive the policy.
class SafetyPolicy {
public:
    using Names = std::set<std::string, std::less<>>;

    SafetyPolicy(const Locations& locations, const Workspace& workspace);

    /// The verdict for `path`, an absolute path. Never fails; blocks only while it reads an
    /// application bundle and the list of running applications.
    [[nodiscard]] SafetyVerdict verdict(std::string_view path) const;
    /// Whether the verdict for `path` may read the disk: that of an application bundle does.
    [[nodiscard]] static bool verdictReadsDisk(std::string_view path);

    /// System folders, each protected with everything in it, in the order they are tried.
    [[nodiscard]] static const std::vector<SafetyRule>& systemRules();
    /// Places in the user's Library, relative to the home folder, in the order they are
    /// tried; "Library/Preferences" asks for review, every other row protects.
    [[nodiscard]] static const std::vector<SafetyRule>& userLibraryRules();
    /// The folders every user account has directly in the home folder.
    [[nodiscard]] static const Names& standardUserFolders();
    /// Path pieces that mark a place inside a package, in the order they are tried.
    [[nodiscard]] static const std::vector<std::string_view>& packageMarkers();

private:
    [[nodiscard]] std::optional<SafetyVerdict> rootFolderVerdict(std::string_view p) const;
    [[nodiscard]] std::optional<SafetyVerdict> keptFolderVerdict(std::string_view p) const;
    [[nodiscard]] std::optional<SafetyVerdict> junkRuleVerdict(std::string_view p) const;
    [[nodiscard]] std::optional<SafetyVerdict> homeFolderVerdict(std::string_view p) const;
    [[nodiscard]] std::optional<SafetyVerdict> applicationVerdict(std::string_view p,
                                                                  const std::string& onDisk) const;
    [[nodiscard]] SafetyVerdict generalVerdict(std::string_view p) const;

    std::string m_dataVolume;
    // Every location in the same form as the paths the tests compare: normalised, with the
    // data-volume prefix dropped.
    Locations m_locations;
    std::string m_trashFolder;
    // The base folders of the junk catalogue, in catalogue order.
    std::vector<std::string> m_junkBases;
    const Workspace& m_workspace;
};

} // namespace dorvale
