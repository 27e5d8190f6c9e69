#pragma once

#include <QColor>
#include <QWidget>

namespace dorvale {

/// A small filled circle in a colour, keying a legend to a chart.
class LegendDot : public QWidget {
    Q_OBJECT

public:
    explicit LegendDot(const QColor& color, QWidget* parent = nullptr);

    void setColor(const QColor& color);
    [[nodiscard]] QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
};

} // namespace dorvale
