#pragma once

#include <QBrush>
#include <QMargins>
#include <QPushButton>

namespace dorvale {

/// A push button drawn as a filled capsule with white text and an optional symbol before the
/// text: the shared look of the primary and destructive buttons, which choose the fill, the
/// padding and how a press shows. Keyboard use, default-button behaviour and accessibility
/// are those of `QPushButton`. A disabled button is drawn faded.
class CapsuleButton : public QPushButton {
    Q_OBJECT

public:
    /// Shows `symbol` before the text; an empty name shows none. Kept in the "symbol"
    /// property.
    void setSymbol(const QString& symbol);
    [[nodiscard]] QString symbol() const;
    [[nodiscard]] QMargins padding() const { return m_padding; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    CapsuleButton(const QString& text, QWidget* parent);

    void setPadding(const QMargins& padding);
    /// The capsule's fill for its rectangle.
    [[nodiscard]] virtual QBrush fill(const QRectF& capsule) const = 0;
    /// The size the capsule is drawn at around its centre, 1 for its full size.
    [[nodiscard]] virtual qreal scale() const { return 1; }
    /// The opacity of the whole button while enabled.
    [[nodiscard]] virtual qreal opacity() const { return 1; }

    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] int iconSize() const;
    [[nodiscard]] QSize contentSize() const;
    void paintContent(QPainter& painter, const QRectF& capsule) const;

    QMargins m_padding;
};

} // namespace dorvale
