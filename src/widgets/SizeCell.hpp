#pragma once

#include <QColor>
#include <QRectF>
#include <QWidget>

#include <cstdint>

class QPainter;
class QStyleOptionViewItem;

namespace dorvale {

/// A table cell for a size: the formatted size with digits of equal width, right-aligned in
/// at least 64 pixels, and beside it a thin bar whose filled part shows `fraction`, the share
/// of the largest size in the list. The filled part is never narrower than 2 pixels, so
/// every row shows a mark.
///
/// Tables paint the same cell through `paint`.
class SizeCell : public QWidget {
    Q_OBJECT

public:
    /// Where the parts of a cell lie within its rectangle.
    struct Geometry {
        QRectF text;
        QRectF track;
        QRectF fill;
    };

    SizeCell(std::int64_t size, double fraction, const QColor& color, QWidget* parent = nullptr);

    void setValues(std::int64_t size, double fraction, const QColor& color);
    /// The size as shown ("Zero KB" for a negative size).
    [[nodiscard]] QString sizeText() const;
    [[nodiscard]] double fraction() const { return m_fraction; }
    [[nodiscard]] Geometry geometryFor(const QRectF& rect) const;

    /// `fraction` as the bar draws it: within [0, 1], and 0 when it is not a finite number
    /// (a largest size of 0 gives 0 ÷ 0).
    [[nodiscard]] static double barFraction(double fraction);
    /// The parts of a cell in `rect` whose size text is `textWidth` pixels wide.
    [[nodiscard]] static Geometry layout(const QRectF& rect, qreal textWidth, double fraction);
    /// Paints a cell in the option's rectangle and font, the size and the track in the text
    /// colour of the view (the highlighted text colour on a selected row), the bar in `color`.
    /// It draws no focus: the view's delegate draws the cell's focus once.
    static void paint(QPainter& painter, const QStyleOptionViewItem& option, std::int64_t size,
                      double fraction, const QColor& color);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void describe();

    std::int64_t m_size;
    double m_fraction;
    QColor m_color;
};

} // namespace dorvale
