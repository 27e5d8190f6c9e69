#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// Files built to hurt whoever reads them, and a guard for tests that read them.
namespace dorvale::test {

/// Runs `work` on a thread of its own while the FIFOs at `fifos` have no writer. Work that
/// opens one of them and waits for a writer would wait for ever; once `patience` has passed,
/// each FIFO is opened for writing and closed again, as often as it takes, so that such work
/// ends at end-of-file. Gives whether the work finished without that help.
[[nodiscard]] bool finishesWithoutAWriter(const std::vector<std::string>& fifos,
                                          const std::function<void()>& work,
                                          std::chrono::seconds patience = std::chrono::seconds(20));

} // namespace dorvale::test
