#pragma once

#include <QWidget>

class QMenu;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace dorvale {

class AppState;
class DuplicatesModel;
class ElidedLabel;
class FileNode;
class IconButton;
class SectionedList;
class SelectionBar;

/// The duplicates page: byte-for-byte identical files of the last scan, found when the user
/// asks ("Find Duplicates"), shown while the search runs as its progress, and then as one
/// section per group with the oldest copy suggested as the one to keep. The user ticks
/// copies and sends them to the Trash through the confirmation sheet, never every copy of a
/// group. The ticks are the page's own, as node identities, and go with the scan they
/// belong to. Nothing runs when the page is shown.
class DuplicatesView : public QWidget {
    Q_OBJECT

public:
    explicit DuplicatesView(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] DuplicatesModel& model() const { return *m_model; }

    /// Starts a search over the current scan and clears the ticks.
    void findDuplicates();
    /// Asks to move the ticked files to the Trash, with the verdicts of this moment, unless that
    /// would take every copy of a group: then it says so in a toast, and the ticks stay.
    void deleteSelection();
    /// Fills the menu of a file row.
    void populateRowMenu(QMenu& menu, const FileNode* file);

private:
    [[nodiscard]] QWidget* makeComparing();
    [[nodiscard]] QWidget* makeResults();
    void rebuild();
    void showState();
    void updateSelectionBar();

    AppState& m_state;
    DuplicatesModel* m_model;
    IconButton* m_find;
    QStackedWidget* m_body;
    QProgressBar* m_progress = nullptr;
    ElidedLabel* m_summary = nullptr;
    SectionedList* m_list = nullptr;
    SelectionBar* m_selectionBar;
};

} // namespace dorvale
