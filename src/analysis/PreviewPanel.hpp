#pragma once

#include "analysis/PreviewBinding.hpp"

#include <QDialog>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QStackedWidget;

namespace dorvale {

class ElidedLabel;
class FileIcon;

/// The preview window of a page: a window beside the page, not modal, that shows the item
/// of the page's `PreviewBinding`: an image scaled to fit, the first 64 KiB of a text, or
/// else the item's icon with its name, size and kind (its file count for a folder). An item
/// that is gone says so. The contents are read on the worker pool; closing the window clears
/// the binding, and clearing the binding closes it.
class PreviewPanel : public QDialog {
    Q_OBJECT

public:
    /// What is read of an item for its preview.
    struct Contents {
        bool available = false;
        QImage image;
        QString text;
    };

    /// The most bytes of a text shown.
    static constexpr qsizetype textLimit = 64 * 1024;

    PreviewPanel(PreviewBinding& binding, QWidget* parent);

    /// Reads the item at `path` for a preview whose image fits `box`: blocks, so it runs on
    /// a worker. Never follows a final symbolic link and never waits on a pipe or device.
    [[nodiscard]] static Contents read(const std::string& path, bool isDirectory, QSize box);

signals:
    /// The contents of the shown item arrived and are on screen.
    void contentsShown();

protected:
    void done(int result) override;

private:
    void follow();
    void load(const PreviewItem& item);
    void present(const PreviewItem& item, const Contents& contents);
    void showSummary(const PreviewItem& item, bool available);

    PreviewBinding& m_binding;
    QStackedWidget* m_pages;
    QLabel* m_image;
    QPlainTextEdit* m_text;
    FileIcon* m_icon;
    ElidedLabel* m_name;
    ElidedLabel* m_detail;
    // Rises with each item asked for, so that a late read of an earlier item is dropped.
    std::uint64_t m_generation = 0;
};

/// Makes what shows a page's preview; the program's shows a `PreviewPanel`, tests pass one
/// that shows nothing.
using PreviewPresenter = std::function<void(PreviewBinding& binding, QWidget& page)>;

/// The program's presenter: a `PreviewPanel` over the page.
[[nodiscard]] PreviewPresenter previewPanelPresenter();

} // namespace dorvale
