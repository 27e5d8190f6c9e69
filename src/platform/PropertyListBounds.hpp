#pragma once

#include <cstddef>
#include <string_view>

namespace dorvale {

/// How far a property list may grow once parsed, checked on its bytes before the parser sees
/// them. The parser copies a value of a binary list once for every reference to it, so a few
/// hundred bytes whose references double at each level would become 2^40 values; and it
/// follows nesting by recursion, so a few megabytes of nested XML would exhaust its stack.
struct PropertyListBounds {
    /// The most values (containers, dictionary keys and scalars together) once expanded.
    std::size_t maximumValues = 0;
    /// The most bytes of strings and data once expanded.
    std::size_t maximumBytes = 0;
    /// The deepest nesting; the top value lies at depth 0.
    int maximumDepth = 0;

    /// Whether the list in `bytes`, binary or XML, stays within these bounds. A binary list
    /// whose object table does not hold together (an offset or reference out of range, a
    /// loop of references, more objects than values allowed) is refused as well. For XML
    /// the count is of elements and is kept generous by one wrapping element and one level
    /// of leaf elements, so no list the parser would accept within the bounds is refused.
    [[nodiscard]] bool admits(std::string_view bytes) const;
};

} // namespace dorvale
