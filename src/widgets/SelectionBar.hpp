#pragma once

#include <QWidget>

#include <cstdint>

namespace dorvale {

class DestructiveButton;
class ElidedLabel;

/// The strip at the foot of a list whose items the user picks: how many are selected and
/// the bytes they hold, "Deselect", and the page's destructive action. The page owns the
/// selection and passes its figures in; the bar only shows them and reports the clicks. With
/// nothing selected it is hidden and takes no space.
class SelectionBar : public QWidget {
    Q_OBJECT

public:
    /// `actionTitle` is shown as given (the page translates it).
    explicit SelectionBar(const QString& actionTitle, QWidget* parent = nullptr);

    /// Shows `count` items of `size` bytes; hides the bar when `count` is below 1. A negative
    /// size shows as zero bytes.
    void setSelection(std::int64_t count, std::int64_t size);
    void setActionTitle(const QString& title);

    [[nodiscard]] std::int64_t count() const { return m_count; }

signals:
    /// "Deselect" was clicked: the page clears its selection.
    void clearRequested();
    /// The action button was clicked: the page runs its action on the selection.
    void actionRequested();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showForCount();

    std::int64_t m_count = 0;
    ElidedLabel* m_countLabel;
    ElidedLabel* m_sizeLabel;
    DestructiveButton* m_action;
};

} // namespace dorvale
