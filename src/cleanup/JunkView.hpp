#pragma once

#include <QWidget>

#include <set>
#include <string>

class QPushButton;
class QStackedWidget;

namespace dorvale {

class AppState;
class JunkModel;
class SectionedList;
class SelectionBar;

/// The junk section: everything the junk catalogue found, a section per junk group in the
/// groups' fixed order and in it a rule per finding, each opening onto its items (at most
/// 300 rows, then a line counting the rest). The user ticks items or whole rules; "Clean…"
/// asks to delete the ticked items through the confirmation sheet. The ticks and the open
/// rules are the page's own and start empty; ticks of items that a finished scan or a
/// deletion took away are dropped.
///
/// The first time it is shown with no junk found it starts a search; "Scan Again" searches
/// again while the old findings stay listed. The spinner shows only while a search runs and
/// nothing is listed.
class JunkView : public QWidget {
    Q_OBJECT

public:
    explicit JunkView(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] JunkModel* model() const { return m_model; }
    [[nodiscard]] SectionedList* list() const { return m_list; }
    /// Asks to delete the ticked items, in the order of the junk.
    void cleanSelection();

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] QWidget* makeHeader();
    [[nodiscard]] QWidget* makeBody();
    void showJunk();
    void showLoading();
    void showSelection();
    void reopenRules();
    void trackOpening(const QModelIndex& index, bool open);

    AppState& m_state;
    JunkModel* m_model;
    SectionedList* m_list = nullptr;
    QStackedWidget* m_body = nullptr;
    QPushButton* m_scanAgain = nullptr;
    SelectionBar* m_selectionBar = nullptr;
    /// Ids of the open rules.
    std::set<std::string> m_expanded;
    bool m_appeared = false;
};

} // namespace dorvale
