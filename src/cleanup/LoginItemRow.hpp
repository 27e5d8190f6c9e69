#pragma once

#include "inventory/LaunchItem.hpp"

#include <QWidget>

class QPushButton;

namespace dorvale {

/// One login item as a row of the login items list: the owner application's icon (a gear
/// without one), the title with the item's badges, the label, which the user can select, and
/// the program, cut in the middle; at the right the reveal button and either the Remove
/// button or, for an item of the system's own ("com.apple."), the protected badge.
class LoginItemRow final : public QWidget {
    Q_OBJECT

public:
    explicit LoginItemRow(const LaunchItem& item, QWidget* parent = nullptr);

    /// The Remove button, null for a protected item.
    [[nodiscard]] QPushButton* removeButton() const { return m_remove; }

    /// Whether an item belongs to the system and is offered for no removal.
    [[nodiscard]] static bool isProtected(const LaunchItem& item);

signals:
    void revealClicked();
    void removeClicked();

private:
    [[nodiscard]] static QWidget* makeIcon(const LaunchItem& item);
    [[nodiscard]] static QWidget* makeTitleLine(const LaunchItem& item);
    [[nodiscard]] QWidget* makeTrailing(const LaunchItem& item);

    QPushButton* m_remove = nullptr;
};

} // namespace dorvale
