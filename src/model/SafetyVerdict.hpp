#pragma once

#include "model/Risk.hpp"

#include <ostream>
#include <string>

namespace dorvale {

/// How risky deleting a path is, and one sentence for the user that says why.
struct SafetyVerdict {
    Risk risk = Risk::Review;
    /// In the current language.
    std::string reason{};

    bool operator==(const SafetyVerdict&) const = default;

    friend std::ostream& operator<<(std::ostream& out, const SafetyVerdict& verdict) {
        return out << title(verdict.risk) << ": \"" << verdict.reason << "\"";
    }
};

} // namespace dorvale
