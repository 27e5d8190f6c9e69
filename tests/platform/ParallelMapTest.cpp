#include "platform/ParallelMap.hpp"

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>

namespace dorvale {
namespace {

TEST(ParallelMap, KeepsInputOrderAndUsesSeveralThreads) {
    std::vector<int> inputs(200);
    for (int i = 0; i < 200; ++i) {
        inputs[static_cast<std::size_t>(i)] = i;
    }
    std::mutex mutex;
    std::set<std::thread::id> threads;
    const auto outputs = parallelMap(
        std::span<const int>(inputs),
        [&](int value) {
            // Later inputs finish first, so the order of completion is not the input order.
            std::this_thread::sleep_for(std::chrono::microseconds(200 - value));
            const std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
            return value * 2;
        },
        4);
    ASSERT_EQ(outputs.size(), inputs.size());
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        EXPECT_EQ(outputs[i], static_cast<int>(i) * 2);
    }
    EXPECT_GT(threads.size(), 1u);
    EXPECT_LE(threads.size(), 4u);
}

TEST(ParallelMap, NoInputsNoWork) {
    const std::vector<int> none;
    EXPECT_TRUE(parallelMap(std::span<const int>(none), [](int) { return 1; }).empty());
}

} // namespace
} // namespace dorvale
