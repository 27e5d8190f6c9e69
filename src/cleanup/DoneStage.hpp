#pragma once

#include <QWidget>

namespace dorvale {

class AppState;
class WrappingLabel;

/// The smart clean's report page: the tick, what the last clean freed, what of it waits in
/// the Trash, how many items were left untouched, the free space now, and two ways on: to the
/// overview ("See What Else Is Using Space", scanning the whole disk first when there is no
/// scan yet) or back to the start page ("Done"). A line whose figure is missing or zero is
/// left out.
class DoneStage : public QWidget {
    Q_OBJECT

public:
    explicit DoneStage(AppState& state, QWidget* parent = nullptr);

private:
    [[nodiscard]] QWidget* makeButtons();
    void showReport();
    void showVolume();

    AppState& m_state;
    WrappingLabel* m_cleaned;
    WrappingLabel* m_inTrash;
    WrappingLabel* m_untouched;
    WrappingLabel* m_freeNow;
};

} // namespace dorvale
