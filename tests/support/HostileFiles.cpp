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

namespace {

void appendBigEndian(std::string& out, std::uint64_t value, int width) {
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) {
        out += static_cast<char>(value >> shift & 0xFF);
    }
}

} // namespace

std::string binaryObject(unsigned type, std::uint64_t count, std::string_view contents) {
    std::string object;
    if (count < 15) {
        object += static_cast<char>(type << 4 | count);
    } else {
        // A count of 15 or more follows the marker as an eight-byte integer.
        object += static_cast<char>(type << 4 | 0x0F);
        object += '\x13';
        appendBigEndian(object, count, 8);
    }
    return object + std::string(contents);
}

std::string binaryList(const std::vector<std::string>& objects) {
    std::string list = "bplist00";
    std::vector<std::uint64_t> offsets;
    for (const std::string& object : objects) {
        offsets.push_back(list.size());
        list += object;
    }
    const std::uint64_t tableOffset = list.size();
    const int offsetSize = tableOffset < 256 ? 1 : 8;
    for (const std::uint64_t offset : offsets) {
        appendBigEndian(list, offset, offsetSize);
    }
    list += std::string(6, '\0');
    list += static_cast<char>(offsetSize);
    list += '\x01';
    appendBigEndian(list, objects.size(), 8);
    appendBigEndian(list, 0, 8);
    appendBigEndian(list, tableOffset, 8);
    return list;
}

std::string doublingBinaryList(int levels) {
    std::vector<std::string> objects;
    for (int level = 1; level <= levels; ++level) {
        const std::string next(2, static_cast<char>(level));
        objects.push_back(binaryObject(0xA, 2, next));
    }
    objects.push_back(binaryObject(0x1, 0, std::string(1, '\0')));
    return binaryList(objects);
}

std::string nestedXmlList(int depth) {
    std::string list = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (int level = 0; level < depth; ++level) {
        list += "<array>";
    }
    for (int level = 0; level < depth; ++level) {
        list += "</array>";
    }
    return list + "</plist>";
}

} // namespace dorvale::test
