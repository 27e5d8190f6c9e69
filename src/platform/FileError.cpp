#include "platform/FileError.hpp"

#include "platform/Text.hpp"

#include <cstring>
#include <string_view>

namespace dorvale {

namespace {

std::string_view operationName(FileOperation operation) {
    switch (operation) {
    case FileOperation::Read:
        return "read";
    case FileOperation::Write:
        return "write";
    case FileOperation::CreateFolder:
        return "create folder";
    case FileOperation::MoveToTrash:
        return "move to the Trash";
    case FileOperation::Remove:
        return "remove";
    case FileOperation::Move:
        return "move";
    case FileOperation::Restore:
        return "restore";
    }
    return "file operation";
}

} // namespace

std::string systemErrorText(int code) {
    char buffer[256] = {};
    // The GNU strerror_r returns a pointer to either a static text or `buffer`.
    return strerror_r(code, buffer, sizeof buffer);
}

std::string FileError::reason() const {
    return detail.empty() ? systemErrorText(code) : detail;
}

std::string FileError::description() const {
    return "Cannot " + std::string(operationName(operation)) + " \u201C" + toValidUtf8(path) +
           "\u201D: " + reason();
}

} // namespace dorvale
