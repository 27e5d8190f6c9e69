#pragma once

#include "inventory/InstalledApp.hpp"
#include "platform/Clock.hpp"

#include <QString>
#include <QWidget>

#include <optional>
#include <span>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QMenu;
class QScrollArea;
class QStackedWidget;

namespace dorvale {

class AppInspector;
class AppState;
class AppsModel;
class ElidedLabel;
class IconButton;
class ListTable;
class RowSelection;
class RunningApps;

/// The applications page: every installed application with the space of its bundle and of
/// its data elsewhere, narrowed by a search and two check boxes, sorted by any column,
/// with a row menu that reveals or uninstalls one, and the inspector of the selected one
/// beside the list. The list and its loading belong to the state; the filter, the sort and
/// the one selected application (by path) are the page's and start at their defaults.
///
/// The selection is the page's own: an application hidden by the filter stays selected and
/// keeps its inspector, which shows it from the whole list of applications.
class AppsView : public QWidget {
    Q_OBJECT

public:
    /// What the list shows.
    struct Filter {
        QString query{};
        bool hideApple = true;
        bool unusedOnly = false;
    };

    /// Applications not used for this long (90 days) count as unused.
    static constexpr Timestamp unusedAge = 7'776'000;

    explicit AppsView(AppState& state, QWidget* parent = nullptr);

    /// Whether `app` is listed under `filter` at `now`; the first rule that decides ends it:
    /// an Apple application is hidden while Apple apps are; while only unused ones are
    /// shown, one used at the cut-off or later is hidden (one without a date counts as used
    /// in the distant past); an empty query lists it; then the name or, failing that, the
    /// bundle identifier must contain the query, case ignored.
    [[nodiscard]] static bool matches(const InstalledApp& app, const Filter& filter, Timestamp now);
    /// The applications of `apps` that `filter` lists, in their order.
    [[nodiscard]] static std::vector<InstalledApp> visibleApps(std::span<const InstalledApp> apps,
                                                               const Filter& filter, Timestamp now);

    [[nodiscard]] const Filter& filter() const { return m_filter; }
    void setFilter(Filter filter);
    /// The path of the selected application, shown or not.
    [[nodiscard]] const std::optional<std::string>& selection() const { return m_selection; }
    void setSelection(std::optional<std::string> path);
    /// The menu of the clicked rows `paths`: for the first shown application among them,
    /// "Show in Finder" and "Uninstall…" (disabled for an Apple application); nothing when
    /// none of them is shown.
    void populateRowMenu(QMenu& menu, const std::vector<std::string>& paths);

    [[nodiscard]] const AppsModel& model() const { return *m_model; }
    [[nodiscard]] RunningApps& running() { return *m_running; }
    /// The inspector shown, or null while the pane shows none.
    [[nodiscard]] AppInspector* inspector() const { return m_inspector; }

private:
    [[nodiscard]] QWidget* makeHeader();
    [[nodiscard]] QWidget* makeFilterBar();
    /// A check box showing and setting one switch of the filter.
    [[nodiscard]] QCheckBox* filterBox(const QString& title, const char* name, bool Filter::*field);
    [[nodiscard]] QWidget* makeContent();
    void appsChanged();
    void showLoading();
    void showRows();
    void updateInspector();
    [[nodiscard]] const InstalledApp* findApp(const std::string& path) const;

    AppState& m_state;
    Filter m_filter;
    std::optional<std::string> m_selection;
    RunningApps* m_running;
    AppsModel* m_model;
    IconButton* m_refresh = nullptr;
    QLineEdit* m_search = nullptr;
    QCheckBox* m_hideApple = nullptr;
    QCheckBox* m_unusedOnly = nullptr;
    ElidedLabel* m_summary = nullptr;
    QStackedWidget* m_content = nullptr;
    ListTable* m_table = nullptr;
    RowSelection* m_rowSelection = nullptr;
    QWidget* m_tableArea = nullptr;
    QScrollArea* m_pane = nullptr;
    AppInspector* m_inspector = nullptr;
};

} // namespace dorvale
