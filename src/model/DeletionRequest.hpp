#pragma once

#include "model/Removal.hpp"
#include "model/Risk.hpp"
#include "platform/Uuid.hpp"

#include <string>

namespace dorvale {

/// One item to remove. Each request made draws a fresh `id`.
struct DeletionRequest {
    Uuid id = Uuid::random();
    /// The item's absolute path (raw bytes).
    std::string path{};
    Removal removal = Removal::Trash;
    /// The risk the user confirmed the item at: the verdict its plan showed. An item whose
    /// verdict has become worse by the time it is carried out is skipped.
    Risk confirmedRisk = Risk::Safe;

    bool operator==(const DeletionRequest&) const = default;
};

} // namespace dorvale
