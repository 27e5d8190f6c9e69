#pragma once

#include <QWidget>

class QHBoxLayout;

namespace dorvale {

class ElidedLabel;

/// The head of every page: the page title in large bold type with the subtitle below it in
/// the secondary colour, and the page's own controls at the right, level with the title.
/// Long texts are elided so the controls always keep their place.
class PageHeader : public QWidget {
    Q_OBJECT

public:
    PageHeader(const QString& title, const QString& subtitle, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    [[nodiscard]] QString title() const;
    void setSubtitle(const QString& subtitle);
    [[nodiscard]] QString subtitle() const;
    /// Adds a control at the right, after those already there.
    void addTrailingWidget(QWidget* widget);

private:
    ElidedLabel* m_title;
    ElidedLabel* m_subtitle;
    QHBoxLayout* m_trailing;
};

} // namespace dorvale
