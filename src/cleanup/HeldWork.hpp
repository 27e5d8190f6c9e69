#pragma once

#include <functional>
#include <utility>

namespace dorvale {

/// A page's job as it runs on a worker: first `beforeWork`, when set (the hook at which the
/// page's tests hold its jobs), then `work`, whose value the job returns.
template <typename Work>
[[nodiscard]] auto afterHold(std::function<void()> beforeWork, Work work) {
    return [beforeWork = std::move(beforeWork), work = std::move(work)]() mutable {
        if (beforeWork) {
            beforeWork();
        }
        return work();
    };
}

} // namespace dorvale
