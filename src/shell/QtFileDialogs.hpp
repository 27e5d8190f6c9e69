#pragma once

#include "platform/FileDialogs.hpp"

#include <QDir>
#include <QString>

#include <optional>
#include <string>

namespace dorvale {

/// The desktop's own file dialogs, shown modally over the active window. They run their own
/// event loop while open, which is why only the windows call them and tests replace them.
///
/// The folder dialog opens in the home folder the first time, then where the user last chose
/// a folder.
class QtFileDialogs final : public FileDialogs {
public:
    [[nodiscard]] std::optional<std::string> chooseFolder(const std::string& title,
                                                          const std::string& acceptLabel) override;
    /// Offers "CSV (*.csv)" with "csv" as the default suffix, starting at `suggestedName` +
    /// ".csv". A name the user typed with another suffix gets ".csv" added.
    [[nodiscard]] std::optional<std::string>
    chooseSaveFile(const std::string& suggestedName) override;

    /// `path` with a final symbolic link (or chain of links) that leads to a folder replaced by
    /// that folder; any other path unchanged. The scanner never follows a link, so a link as
    /// the root of a scan would give nothing.
    [[nodiscard]] static QString resolveFinalLink(const QString& path);
    /// `path` ending in ".csv" (in any case), adding it when missing.
    [[nodiscard]] static QString withCsvSuffix(const QString& path);

private:
    QString m_lastFolder = QDir::homePath();
};

} // namespace dorvale
