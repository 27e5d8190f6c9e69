#pragma once

#include "platform/Uuid.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace dorvale {

/// One request that was not carried out, and why.
struct DeletionFailure {
    Uuid id = Uuid::random();
    /// The request's path.
    std::string path{};
    /// One sentence for the user, in the current language: the safety verdict's reason for a
    /// refused protected item, otherwise what went wrong with the file operation.
    std::string reason{};

    bool operator==(const DeletionFailure&) const = default;
};

/// What one deletion run did. Every list keeps the order of the requests.
struct DeletionReport {
    /// The bytes the items deleted outright occupied on disk as they went.
    std::int64_t freed = 0;
    /// The bytes the items moved to the Trash occupied on disk as they went.
    std::int64_t movedToTrash = 0;
    /// The paths of every request carried out, deleted or moved to the Trash.
    std::vector<std::string> deletedPaths{};
    /// Requests whose file operation failed, or whose path could not be acted on.
    std::vector<DeletionFailure> failures{};
    /// Requests refused by their verdict at the moment of deletion: protected, or riskier than
    /// the risk the user confirmed. The reason is the verdict's.
    std::vector<DeletionFailure> skippedProtected{};

    bool operator==(const DeletionReport&) const = default;
};

} // namespace dorvale
