#pragma once

#include <cstddef>
#include <string_view>

namespace dorvale {

/// How deep a JSON document may nest, checked on its bytes before the parser sees them. The
/// library's writer follows nesting by recursion, so a document of a hundred thousand nested
/// arrays read in would overflow the stack the next time it is written out.
///
/// Whether the deepest array or object in `text` lies at most `maximumDepth` levels down (the
/// top value at level 1). Brackets inside strings do not count. Text that is not JSON may
/// pass; the parser refuses it afterwards.
[[nodiscard]] bool nestsWithin(std::string_view text, std::size_t maximumDepth);

} // namespace dorvale
