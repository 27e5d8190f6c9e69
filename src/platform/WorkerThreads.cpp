#include "platform/WorkerThreads.hpp"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

namespace dorvale {

namespace {

// The flag in `folder`/queue/rotational; none when the folder has no such file.
std::optional<bool> rotationalFlag(const std::string& folder) {
    std::ifstream flag(folder + "/queue/rotational");
    char value = 0;
    if (!(flag >> value)) {
        return std::nullopt;
    }
    return value == '1';
}

} // namespace

bool isOnRotationalDevice(const std::string& path, const std::string& sysRoot) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    // The device's own folder; a partition's lies inside the folder of its disk, which holds
    // the queue.
    const std::string device = sysRoot + "/dev/block/" + std::to_string(major(info.st_dev)) + ":" +
                               std::to_string(minor(info.st_dev));
    if (const std::optional<bool> own = rotationalFlag(device)) {
        return *own;
    }
    return rotationalFlag(device + "/..").value_or(false);
}

std::size_t workerThreadsFor(const std::string& path, const RotationalProbe& isRotational) {
    const bool spinning = isRotational ? isRotational(path) : isOnRotationalDevice(path);
    if (spinning) {
        return 1;
    }
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, maxWorkerThreads);
}

} // namespace dorvale
