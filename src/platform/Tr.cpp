#include "platform/Tr.hpp"

#include "platform/WordingCatalogue.hpp"

#include <atomic>

namespace dorvale {

namespace {

std::atomic<const WordingCatalogue*> installed{nullptr};

} // namespace

std::string_view tr(std::string_view key) {
    const WordingCatalogue* wording = installed.load(std::memory_order_acquire);
    if (wording == nullptr) {
        return key;
    }
    return wording->find(key).value_or(key);
}

void installWording(const WordingCatalogue* wording) {
    installed.store(wording, std::memory_order_release);
}

} // namespace dorvale
