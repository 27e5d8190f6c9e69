#pragma once

#include <QAbstractButton>
#include <QColor>

class QHBoxLayout;

namespace dorvale {

/// A row of a card that is one button: the widgets in its layout are its label, and its
/// whole rectangle takes the pointer and clicks. It lies on a rounded rectangle in its fill
/// (none while the fill is invalid) and shows a focus frame when reached by keyboard, where
/// Space clicks it. It says when the pointer comes onto it and leaves it, the label's
/// widgets included.
///
/// Its owner names it for assistive technology, to which it is a push button.
class RowButton : public QAbstractButton {
    Q_OBJECT

public:
    /// The label's widgets lie `padding` inside the rectangle's edges, `spacing` apart.
    RowButton(QMargins padding, int spacing, qreal cornerRadius, QWidget* parent = nullptr);

    /// Where the label's widgets go, left to right.
    [[nodiscard]] QHBoxLayout* contentLayout() const { return m_content; }
    /// The colour of the rectangle under the label; an invalid colour draws none.
    void setFill(const QColor& fill);
    [[nodiscard]] QColor fill() const { return m_fill; }

signals:
    /// The pointer came onto the row (`inside`) or left it.
    void hoverChanged(bool inside);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* m_content;
    qreal m_cornerRadius;
    QColor m_fill;
};

} // namespace dorvale
