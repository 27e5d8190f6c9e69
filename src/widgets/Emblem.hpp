#pragma once

#include <QWidget>

namespace dorvale {

/// A large symbol on a shape of the accent gradient that heads a prompt or a sheet, 84 pixels
/// square. Keeps the symbol's name in its "symbol" property. Decorative: the title below it
/// says what it stands for.
class Emblem : public QWidget {
    Q_OBJECT

public:
    enum class Look {
        /// A faint disc of the accent gradient, with the symbol in the full gradient over it.
        FaintDisc,
        /// A rounded square filled with the accent gradient, glowing in the accent colour
        /// below, with the symbol in white over it.
        FilledSquare,
    };

    Emblem(const QString& symbol, Look look, QWidget* parent = nullptr);

    [[nodiscard]] Look look() const { return m_look; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] int symbolSize() const;

    Look m_look;
};

} // namespace dorvale
