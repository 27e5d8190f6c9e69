#pragma once

#include <QWidget>

class QHBoxLayout;
class QScrollArea;

namespace dorvale {

class AppState;
class IconButton;

/// The explorer's path bar: a back button (Ctrl+[), one crumb per folder of the explorer
/// stack, from the top of the scan ("~" for the home folder) to the folder shown, and a
/// button that shows that folder in the file manager. A crumb cuts the stack back to its
/// folder. Follows `AppState::explorerStack` and changes nothing else; a path longer than
/// the bar scrolls so that its last crumb stays in view.
class Breadcrumbs : public QWidget {
    Q_OBJECT

public:
    explicit Breadcrumbs(AppState& state, QWidget* parent = nullptr);

private:
    void rebuild();
    void goBack();
    void cutTo(std::size_t index);
    void reveal();

    AppState& m_state;
    IconButton* m_back;
    IconButton* m_reveal;
    QScrollArea* m_scroll;
    QWidget* m_crumbs = nullptr;
};

} // namespace dorvale
