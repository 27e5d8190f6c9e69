#include "model/FilterPass.hpp"

#include "platform/Paths.hpp"

#include <algorithm>

namespace dorvale {

namespace {

// The separator a path gets before a child's name, as `FileNode::path` joins them.
bool needsSeparator(std::string_view path) {
    return path.empty() || path.back() != '/';
}

std::string_view beforeLastSlash(std::string_view query) {
    return query.substr(0, std::min(query.rfind('/'), query.size()));
}

std::string_view afterLastSlash(std::string_view query) {
    const std::size_t slash = query.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : query.substr(slash + 1);
}

} // namespace

FilterPass::FilterPass(const FileFilter& filter, Timestamp now, std::string_view dataVolume)
    : m_filter(filter)
    , m_now(now)
    , m_dataVolume(dataVolume == "/" ? std::string_view() : dataVolume)
    , m_query(filter.query)
    , m_queryByPath(filter.query.find('/') != std::string::npos)
    , m_queryHead(beforeLastSlash(filter.query))
    , m_queryTail(afterLastSlash(filter.query)) {}

bool FilterPass::matches(const FileNode& node) {
    if (!matchesFigures(node)) {
        return false;
    }
    if (!m_filter.query.empty() && !m_queryByPath && !m_query.foundIn(node.name())) {
        return false;
    }
    return (!m_queryByPath && !m_filter.pathPrefix) || matchesPath(node);
}

bool FilterPass::matchesFigures(const FileNode& node) const {
    if (node.size() < m_filter.minSize) {
        return false;
    }
    if (!m_filter.kinds.empty() && !m_filter.kinds.contains(node.kind())) {
        return false;
    }
    if (m_filter.bucket && *m_filter.bucket != node.bucket()) {
        return false;
    }
    return !m_filter.modifiedOlderThanDays ||
           node.modified() <=
               m_now - static_cast<double>(*m_filter.modifiedOlderThanDays) * secondsPerDay;
}

// The rule itself: the query with "/" within the matching path, which starts with the prefix.
bool FilterPass::matchesWholePath(std::string_view matching) const {
    return (!m_queryByPath || m_query.foundIn(matching)) &&
           (!m_filter.pathPrefix || matching.starts_with(*m_filter.pathPrefix));
}

// A file's matching path is its folder's followed by a separator and its name. A match of
// the query not wholly inside the folder's path takes in the separator, and since a name
// holds no "/", the separator is the query's last "/"; the prefix is decided by the
// folder's path, or continues into the name.
bool FilterPass::matchesPath(const FileNode& node) {
    if (node.parent() == nullptr) {
        return matchesWholePath(matchingPath(node.path(), m_dataVolume));
    }
    const Folder& folder = this->folder(*node.parent());
    if (folder.holdsDataVolume) {
        return matchesWholePath(matchingPath(node.path(), m_dataVolume));
    }
    const bool separated = needsSeparator(m_path);
    if (m_queryByPath && !folder.containsQuery) {
        if (separated) {
            if (!folder.endsWithQueryHead || !m_queryTail.beginsText(node.name())) {
                return false;
            }
        } else {
            // The folder's path ends in "/" (the root of the disk): the name follows at once.
            m_window.assign(m_path, folder.tailStart);
            m_window += node.name();
            if (!m_query.foundIn(m_window)) {
                return false;
            }
        }
    }
    if (!m_filter.pathPrefix || folder.prefix == Prefix::All) {
        return true;
    }
    if (folder.prefix == Prefix::None) {
        return false;
    }
    std::string_view rest =
        std::string_view(*m_filter.pathPrefix).substr(m_path.size() - folder.matchStart);
    if (separated) {
        if (rest.front() != '/') {
            return false;
        }
        rest.remove_prefix(1);
    }
    return node.name().starts_with(rest);
}

// The chain is cut back to the deepest folder it shares with `node`'s, then grown down to
// `node`.
const FilterPass::Folder& FilterPass::folder(const FileNode& node) {
    if (!m_chain.empty() && m_chain.back().node == &node) {
        return m_chain.back();
    }
    m_ancestors.clear();
    for (const FileNode* ancestor = &node; ancestor != nullptr; ancestor = ancestor->parent()) {
        m_ancestors.push_back(ancestor);
    }
    std::size_t shared = 0;
    while (shared < m_chain.size() && shared < m_ancestors.size() &&
           m_chain[shared].node == m_ancestors[m_ancestors.size() - 1 - shared]) {
        ++shared;
    }
    m_chain.resize(shared);
    m_path.resize(shared == 0 ? 0 : m_chain.back().end);
    for (std::size_t depth = shared; depth < m_ancestors.size(); ++depth) {
        push(*m_ancestors[m_ancestors.size() - 1 - depth]);
    }
    return m_chain.back();
}

void FilterPass::push(const FileNode& node) {
    const Folder* parent = m_chain.empty() ? nullptr : &m_chain.back();
    if (parent != nullptr && needsSeparator(m_path)) {
        m_path += '/';
    }
    m_path += node.name();
    Folder folder{.node = &node, .end = m_path.size()};
    folder.holdsDataVolume = !m_dataVolume.empty() && m_dataVolume.starts_with(m_path);
    if (folder.holdsDataVolume) {
        m_chain.push_back(folder);
        return;
    }
    // Beneath a folder that does not hold the data volume, a folder's matching path is its
    // parent's followed by a separator and its name, so the parent's answer carries over.
    const std::string_view matching = matchingPath(m_path, m_dataVolume);
    folder.matchStart = static_cast<std::size_t>(matching.data() - m_path.data());
    const bool extends = parent != nullptr && !parent->holdsDataVolume;
    if (m_queryByPath) {
        const std::size_t from = extends ? parent->tailStart : folder.matchStart;
        const std::string_view searched = std::string_view(m_path).substr(from);
        folder.containsQuery = (extends && parent->containsQuery) || m_query.foundIn(searched);
        folder.tailStart = from + lastCodePointsStart(searched, m_query.length() - 1);
        folder.endsWithQueryHead = m_queryHead.endsText(searched);
    }
    if (m_filter.pathPrefix) {
        const std::string& prefix = *m_filter.pathPrefix;
        folder.prefix = matching.starts_with(prefix)   ? Prefix::All
                        : prefix.starts_with(matching) ? Prefix::Some
                                                       : Prefix::None;
    }
    m_chain.push_back(folder);
}

} // namespace dorvale
