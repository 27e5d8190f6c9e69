#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <span>
#include <thread>
#include <type_traits>
#include <vector>

namespace dorvale {

/// The number of worker threads `parallelMap` uses by default: one per core, at least two.
[[nodiscard]] inline std::size_t defaultParallelism() {
    return std::max<std::size_t>(2, std::thread::hardware_concurrency());
}

/// Applies `work` to every input on a bounded set of threads and returns the results in the
/// order of the inputs, whatever order the work finishes in; the result type must be
/// default-constructible. Blocks until all are done; the calling thread takes part. `work`
/// must be safe to run on several threads at once and must not throw.
template <typename Input, typename Work>
[[nodiscard]] auto parallelMap(std::span<const Input> inputs, Work work,
                               std::size_t maxThreads = defaultParallelism())
    -> std::vector<std::invoke_result_t<Work&, const Input&>> {
    using Output = std::invoke_result_t<Work&, const Input&>;
    std::vector<Output> outputs(inputs.size());
    std::atomic<std::size_t> next = 0;
    const auto drain = [&] {
        for (std::size_t i = next++; i < inputs.size(); i = next++) {
            outputs[i] = work(inputs[i]);
        }
    };
    const std::size_t helpers = std::min(maxThreads, inputs.size()) - (inputs.empty() ? 0 : 1);
    {
        std::vector<std::jthread> threads;
        threads.reserve(helpers);
        for (std::size_t i = 0; i < helpers; ++i) {
            threads.emplace_back(drain);
        }
        drain();
    }
    return outputs;
}

} // namespace dorvale
