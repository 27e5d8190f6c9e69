#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
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

/// One object of a binary property list: the marker of `type` (its high four bits) with
/// `count`, then `contents` (the elements' one-byte references, or the bytes of a string).
[[nodiscard]] std::string binaryObject(unsigned type, std::uint64_t count,
                                       std::string_view contents);

/// A binary property list of these objects, the first being the top one, whose references
/// are one byte wide.
[[nodiscard]] std::string binaryList(const std::vector<std::string>& objects);

/// A binary list of `levels` arrays, each holding the next one twice, around one integer: a
/// few hundred bytes that expand to 2^(levels + 1) - 1 values when every reference is copied.
[[nodiscard]] std::string doublingBinaryList(int levels);

/// An XML list of arrays nested `depth` deep.
[[nodiscard]] std::string nestedXmlList(int depth);

} // namespace dorvale::test
