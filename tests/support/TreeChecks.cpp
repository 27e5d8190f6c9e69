#include "support/TreeChecks.hpp"

namespace dorvale::test {

const FileNode* child(const FileNode* folder, std::string_view name) {
    if (folder == nullptr) {
        return nullptr;
    }
    for (const FileNode* node : folder->children()) {
        if (node->name() == name) {
            return node;
        }
    }
    return nullptr;
}

} // namespace dorvale::test
