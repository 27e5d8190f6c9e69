#pragma once

#include "model/HistoryEntry.hpp"
#include "platform/Uuid.hpp"

#include <QString>

#include <optional>
#include <vector>

namespace dorvale {

/// A transient message shown over the main window. Equal only when all four fields are: the
/// same id, message and detail (absent equals only absent), and undo lists of the same length
/// whose entries are pairwise equal in every field.
struct Toast {
    Uuid id = Uuid::random();
    QString message{};
    std::optional<QString> detail{};
    /// The history entries the toast's Undo restores; empty when there is nothing to undo.
    std::vector<HistoryEntry> undoable{};

    bool operator==(const Toast&) const = default;
};

} // namespace dorvale
