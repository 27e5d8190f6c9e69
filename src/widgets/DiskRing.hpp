#pragma once

#include <QColor>
#include <QProgressBar>

#include <cstdint>

class QVariantAnimation;

namespace dorvale {

/// How full a disk is, as a ring: a faint track and over it an arc from the top, clockwise,
/// to the used share, in a gradient from the second accent colour through the accent to the
/// accent again, or to the danger colour when more than nine tenths are used. The first time
/// it is shown the arc grows from the top to its share in 1.2 seconds, eased out.
///
/// It sets no size of its own (its owner frames it) and shows no text; the line is thinner
/// on a small ring so that a text fits inside. To assistive technology it is a progress bar
/// that reads the used share as a percentage; its owner gives it a name.
class DiskRing : public QProgressBar {
    Q_OBJECT

public:
    explicit DiskRing(QWidget* parent = nullptr);

    /// Shows `used` of `total` bytes.
    void setUsage(std::int64_t used, std::int64_t total);
    [[nodiscard]] std::int64_t used() const { return m_used; }
    [[nodiscard]] std::int64_t total() const { return m_total; }

    /// `used` ÷ `total` held within [0, 1]: 0 when `total` is below 1, and neither a negative
    /// `used` nor one beyond `total` draws outside the circle.
    [[nodiscard]] static double fraction(std::int64_t used, std::int64_t total);
    [[nodiscard]] double fraction() const { return fraction(m_used, m_total); }
    /// The share of the circle the arc covers now: `fraction` once the ring has appeared.
    [[nodiscard]] double shownFraction() const;
    /// The colour at the arc's end: the danger colour above nine tenths, the accent otherwise.
    [[nodiscard]] static QColor endColor(double fraction);
    /// The width of the ring's line at the current size.
    [[nodiscard]] qreal lineWidth() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void paintArc(QPainter& painter, const QRectF& circle) const;

    std::int64_t m_used = 0;
    std::int64_t m_total = 0;
    // From 0 before the ring appears to 1 once it has.
    QVariantAnimation* m_appear;
    bool m_appeared = false;
};

} // namespace dorvale
