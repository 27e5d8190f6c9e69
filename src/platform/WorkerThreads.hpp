#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace dorvale {

/// Whether the file system holding `path` sits on a spinning disk, as the kernel describes
/// the disk under `sysRoot` (/sys on a running system): the `queue/rotational` flag of the
/// block device of `path`, or of the whole disk when that device is a partition. False when
/// the path cannot be examined or the device is not a block device the kernel describes
/// there (a network, memory or pooled file system).
[[nodiscard]] bool isOnRotationalDevice(const std::string& path,
                                        const std::string& sysRoot = "/sys");

/// Says whether a path lies on a spinning disk; `isOnRotationalDevice` on a real system.
using RotationalProbe = std::function<bool(const std::string& path)>;

/// The most threads that read one tree at once, whatever the machine has.
inline constexpr std::size_t maxWorkerThreads = 8;

/// How many threads should read the files beneath `path` at once: one on a spinning disk,
/// where reads in several places make its head seek between them, otherwise one per core
/// of the machine, at most `maxWorkerThreads`.
[[nodiscard]] std::size_t workerThreadsFor(const std::string& path,
                                           const RotationalProbe& isRotational = {});

} // namespace dorvale
