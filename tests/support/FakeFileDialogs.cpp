#include "support/FakeFileDialogs.hpp"

namespace dorvale::test {

namespace {

std::optional<std::string> nextAnswer(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

void FakeFileDialogs::queueFolder(std::optional<std::string> answer) {
    m_folders.push_back(std::move(answer));
}

void FakeFileDialogs::queueSaveFile(std::optional<std::string> answer) {
    m_saveFiles.push_back(std::move(answer));
}

std::optional<std::string> FakeFileDialogs::chooseFolder(const std::string& title,
                                                         const std::string& acceptLabel) {
    m_folderTitles.push_back(title);
    m_folderLabels.push_back(acceptLabel);
    return nextAnswer(m_folders);
}

std::optional<std::string> FakeFileDialogs::chooseSaveFile(const std::string& suggestedName) {
    m_suggestedNames.push_back(suggestedName);
    return nextAnswer(m_saveFiles);
}

} // namespace dorvale::test
