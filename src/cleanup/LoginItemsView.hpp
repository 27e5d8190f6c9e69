#pragma once

#include "inventory/LaunchItem.hpp"
#include "widgets/AmbientBackground.hpp"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace dorvale {

class AppState;
class IconButton;
class LoginItemsModel;
class SectionedList;
class WrappingLabel;

/// The Login Items page: the launch agents and daemons of the three launch folders, in a
/// section per scope, each with its owner application, how it starts, a reveal button and a
/// Remove button. The list is the page's own: read from disk when the page first shows with
/// nothing listed, by Refresh, and after every removal, whatever its outcome.
///
/// Reading and removing run on workers with the page as context, so a result that comes
/// after the page has gone is dropped. While a removal runs (the administrator prompt may
/// stay open for minutes) every Remove button is disabled.
class LoginItemsView final : public AmbientBackground {
    Q_OBJECT

public:
    explicit LoginItemsView(AppState& state, QWidget* parent = nullptr);

    /// Reads the launch folders again on a worker; the rows on screen stay until the new
    /// ones replace them.
    void load();
    /// Removes `item` on a worker, shows the outcome in the message line, then loads.
    void remove(const LaunchItem& item);

    [[nodiscard]] const std::vector<LaunchItem>& items() const { return m_items; }
    [[nodiscard]] bool isLoading() const { return m_loads > 0; }
    [[nodiscard]] bool isRemoving() const { return m_removing; }
    /// The property list path of the selected row.
    [[nodiscard]] const std::optional<std::string>& selection() const { return m_selection; }
    [[nodiscard]] const std::optional<QString>& message() const { return m_message; }
    [[nodiscard]] SectionedList* list() const { return m_list; }

    /// Called on the worker before each load and removal; tests hold the work there.
    void setBeforeWork(std::function<void()> hold) { m_beforeWork = std::move(hold); }

signals:
    /// A load ended and its items are shown.
    void loaded();
    /// A removal ended and its outcome is shown; the load it starts is under way.
    void removed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] QWidget* makeHeader();
    void refresh();
    void placeRows();
    void showMessage();
    void selectionChanged();

    AppState& m_state;
    std::vector<LaunchItem> m_items;
    int m_loads = 0;
    bool m_removing = false;
    std::optional<std::string> m_selection;
    std::optional<QString> m_message;
    std::function<void()> m_beforeWork;

    IconButton* m_refresh = nullptr;
    QWidget* m_messageLine = nullptr;
    WrappingLabel* m_messageText = nullptr;
    QStackedWidget* m_body = nullptr;
    QWidget* m_loading = nullptr;
    LoginItemsModel* m_model = nullptr;
    SectionedList* m_list = nullptr;
};

} // namespace dorvale
