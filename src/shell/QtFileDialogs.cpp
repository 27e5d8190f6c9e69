#include "shell/QtFileDialogs.hpp"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace dorvale {

namespace {

// Links that lead on to further links: the kernel gives up after 40, and so does the
// resolution, leaving a loop unresolved.
constexpr int maximumLinkHops = 40;

std::optional<QString> selectedPath(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

std::string bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

std::optional<std::string> QtFileDialogs::chooseFolder(const std::string& title,
                                                       const std::string& acceptLabel) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title), m_lastFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(acceptLabel));
    const std::optional<QString> chosen = selectedPath(dialog);
    if (!chosen) {
        return std::nullopt;
    }
    m_lastFolder = dialog.directory().absolutePath();
    return bytes(resolveFinalLink(*chosen));
}

std::optional<std::string> QtFileDialogs::chooseSaveFile(const std::string& suggestedName) {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QCoreApplication::translate("QtFileDialogs", "CSV (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QString::fromStdString(suggestedName) + QStringLiteral(".csv"));
    const std::optional<QString> chosen = selectedPath(dialog);
    if (!chosen) {
        return std::nullopt;
    }
    return bytes(withCsvSuffix(*chosen));
}

QString QtFileDialogs::resolveFinalLink(const QString& path) {
    QFileInfo info(path);
    for (int hop = 0; hop < maximumLinkHops && info.isSymLink(); ++hop) {
        info.setFile(info.symLinkTarget());
    }
    if (info.isSymLink() || !info.isDir()) {
        return path;
    }
    return info.absoluteFilePath();
}

QString QtFileDialogs::withCsvSuffix(const QString& path) {
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        return path;
    }
    return path + QStringLiteral(".csv");
}

} // namespace dorvale
