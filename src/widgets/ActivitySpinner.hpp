#pragma once

#include <QWidget>

namespace dorvale {

class TurnWhileShown;

/// A small turning arc that says work is going on, with no measure of how much. It turns
/// only while it is on screen. To assistive technology it is an animation named "In
/// progress"; its owner may name it better.
class ActivitySpinner : public QWidget {
    Q_OBJECT

public:
    explicit ActivitySpinner(int size = 16, QWidget* parent = nullptr);

    [[nodiscard]] bool isSpinning() const;
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_size;
    TurnWhileShown* m_turn;
};

} // namespace dorvale
