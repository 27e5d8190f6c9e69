#pragma once

#include <QIcon>

#include <cstddef>
#include <string>
#include <unordered_map>

namespace dorvale {

/// Icons by key, bounded by emptying: once it holds more than `limit` entries, storing a new
/// key first drops every entry. Long lists of files ask for one icon per extension, so the
/// bound is met only by lists of many folders and extensionless files.
///
/// GUI thread only; no lock.
class IconCache {
public:
    static constexpr std::size_t limit = 4000;

    /// The icon stored under `key`, or null.
    [[nodiscard]] const QIcon* find(const std::string& key) const;
    /// Stores `icon` under `key` and returns the stored icon.
    const QIcon& insert(const std::string& key, QIcon icon);
    [[nodiscard]] std::size_t size() const { return m_icons.size(); }
    void clear() { m_icons.clear(); }

private:
    std::unordered_map<std::string, QIcon> m_icons;
};

} // namespace dorvale
