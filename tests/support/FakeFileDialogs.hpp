#pragma once

#include "platform/FileDialogs.hpp"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace dorvale::test {

/// File dialogs that answer what the test queued, in order, and record what they were asked.
/// A dialog with nothing queued is cancelled.
class FakeFileDialogs final : public FileDialogs {
public:
    /// The answer of the next folder dialog; nothing means the user cancels.
    void queueFolder(std::optional<std::string> answer);
    /// The answer of the next save dialog; nothing means the user cancels.
    void queueSaveFile(std::optional<std::string> answer);

    [[nodiscard]] std::optional<std::string> chooseFolder(const std::string& title,
                                                          const std::string& acceptLabel) override;
    [[nodiscard]] std::optional<std::string>
    chooseSaveFile(const std::string& suggestedName) override;

    /// The titles of the folder dialogs shown so far.
    [[nodiscard]] const std::vector<std::string>& folderTitles() const { return m_folderTitles; }
    /// The accept labels of the folder dialogs shown so far.
    [[nodiscard]] const std::vector<std::string>& folderLabels() const { return m_folderLabels; }
    /// The suggested names of the save dialogs shown so far.
    [[nodiscard]] const std::vector<std::string>& suggestedNames() const {
        return m_suggestedNames;
    }

private:
    std::deque<std::optional<std::string>> m_folders;
    std::deque<std::optional<std::string>> m_saveFiles;
    std::vector<std::string> m_folderTitles;
    std::vector<std::string> m_folderLabels;
    std::vector<std::string> m_suggestedNames;
};

} // namespace dorvale::test
