#pragma once

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QTreeWidget;

namespace dorvale {

class AppState;
class IconButton;
class WrappingLabel;

/// The "Exclusions" pane of the settings: the folders scans never enter, in stored order, with
/// "plus" to add one through the folder picker and "minus" to remove the selected one (every
/// copy of it). Changes are stored at once as "excludedPaths" and take effect at the next
/// scan. A folder whose path holds a line feed cannot be stored in the line-separated list,
/// so it is refused with a message instead of splitting into two entries.
///
/// The selection is the selected path, not a row: after a removal it still names the removed
/// path, so nothing is highlighted and "minus" stays enabled.
class ExclusionsSettings final : public QWidget {
    Q_OBJECT

public:
    explicit ExclusionsSettings(AppState& state, QWidget* parent = nullptr);

    /// The selected path, as bytes.
    [[nodiscard]] const std::optional<std::string>& selection() const { return m_selection; }

private:
    [[nodiscard]] QWidget* makeButtons();
    void showPaths();
    void selectionChanged();
    void addFolder();
    void removeSelected();
    void store(const std::vector<std::string>& paths);

    AppState& m_state;
    std::optional<std::string> m_selection;
    QTreeWidget* m_list;
    IconButton* m_add = nullptr;
    IconButton* m_remove = nullptr;
    WrappingLabel* m_refusal;
};

} // namespace dorvale
