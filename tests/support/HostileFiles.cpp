#include "support/HostileFiles.hpp"

#include "platform/Descriptor.hpp"

#include <fcntl.h>

#include <future>
#include <thread>

namespace dorvale::test {

bool finishesWithoutAWriter(const std::vector<std::string>& fifos,
                            const std::function<void()>& work, std::chrono::seconds patience) {
    std::packaged_task<void()> task(work);
    std::future<void> finished = task.get_future();
    const std::jthread worker(std::move(task));
    if (finished.wait_for(patience) == std::future_status::ready) {
        return true;
    }
    // A writer that comes and goes hands a waiting reader end-of-file.
    while (finished.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        for (const std::string& fifo : fifos) {
            const Descriptor writer(open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        }
    }
    return false;
}

} // namespace dorvale::test
