#pragma once

#include "inventory/Recommendation.hpp"
#include "model/SafetyVerdict.hpp"

#include <cstddef>
#include <functional>
#include <string>

namespace dorvale {

/// One row of a deletion plan: the item a caller proposes, with the safety verdict the caller
/// computed for its path. Rows are identified by path alone: two items with the same path
/// are equal, whatever their other fields.
struct PlanItem : PlanCandidate {
    SafetyVerdict verdict{};

    friend bool operator==(const PlanItem& a, const PlanItem& b) { return a.path == b.path; }
};

} // namespace dorvale

template <>
struct std::hash<dorvale::PlanItem> {
    std::size_t operator()(const dorvale::PlanItem& item) const noexcept {
        return std::hash<std::string>{}(item.path);
    }
};
