#pragma once

#include <functional>
#include <string>

namespace dorvale::test {

/// The exit status of `runWithPrivateMounts` when the kernel refuses the child a mount
/// namespace; the test is then skipped.
inline constexpr int mountsRefused = 77;

/// Runs `body` in a forked child with a mount namespace of its own in which every mount is
/// private, so what it mounts is never seen outside and goes with it. Returns the child's
/// exit status as `runInChild` does, or `mountsRefused`.
int runWithPrivateMounts(const std::function<int()>& body);

/// Mounts the folder `source` at `target` as well; for the body of `runWithPrivateMounts`.
[[nodiscard]] bool bindMount(const std::string& source, const std::string& target);

} // namespace dorvale::test
