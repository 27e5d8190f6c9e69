#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace dorvale {

/// A path in matching form: absolute as seen from "/", without the data-volume prefix ("/"
/// for the data volume itself), normalised. Lookups into a scan take this form, while nodes
/// and `Locations` hold real paths, the ones on disk. A matching path is made only through
/// one of the two named conversions, so a real path cannot pass for one unnoticed.
class MatchingPath final {
public:
    /// The matching form of `realPath`, a path on disk that may lie beneath `dataVolume`.
    [[nodiscard]] static MatchingPath ofRealPath(std::string_view realPath,
                                                 std::string_view dataVolume);
    /// A path already written as seen from "/", such as a system location of a catalogue.
    [[nodiscard]] static MatchingPath asSeenFromRoot(std::string_view path);

    [[nodiscard]] std::string_view text() const { return m_text; }

    friend bool operator==(const MatchingPath&, const MatchingPath&) = default;

private:
    explicit MatchingPath(std::string text)
        : m_text(std::move(text)) {}

    std::string m_text;
};

} // namespace dorvale
