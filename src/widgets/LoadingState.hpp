#pragma once

#include <QWidget>

namespace dorvale {

class ActivitySpinner;
class ElidedLabel;

/// What a list shows while its first load runs: a turning spinner with a short title below
/// it, centred in the space the list would take. The spinner is named by the title for
/// assistive technology.
class LoadingState : public QWidget {
    Q_OBJECT

public:
    explicit LoadingState(const QString& title, QWidget* parent = nullptr);

    [[nodiscard]] QString title() const;
    [[nodiscard]] ActivitySpinner* spinner() const { return m_spinner; }

private:
    ActivitySpinner* m_spinner;
    ElidedLabel* m_title;
};

} // namespace dorvale
