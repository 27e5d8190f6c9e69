#pragma once

#include "style/Theme.hpp"

#include <QFrame>

class QVBoxLayout;

namespace dorvale {

/// The panel that page sections sit on: the content inset by `padding` on every edge, on a
/// translucent rounded panel with a faint border and a soft shadow below.
class Card : public QFrame {
    Q_OBJECT

public:
    explicit Card(int padding = Theme::Space::large, QWidget* parent = nullptr);

    /// Where the card's content goes, top to bottom.
    [[nodiscard]] QVBoxLayout* contentLayout() const { return m_content; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_content;
};

} // namespace dorvale
