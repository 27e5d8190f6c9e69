#pragma once

#include <QBrush>
#include <QConicalGradient>
#include <QPointF>

namespace dorvale {

/// The colours along an arc drawn clockwise from `start` (Qt's angle in degrees,
/// anticlockwise from three o'clock), as the rings draw their arcs with a round cap. Qt's
/// conical gradient runs anticlockwise from its own angle, so the stops are placed back to
/// front. Its seam, where the last colour meets the first, lies `seam` degrees before the
/// start: further than the round cap reaches, so the cap at the arc's start does not show the
/// colour of the far end.
class RingGradient {
public:
    /// Further back than the round cap of the rings' lines reaches.
    static constexpr qreal capSeam = 15;

    RingGradient(const QPointF& centre, qreal start, qreal seam = capSeam);

    /// Puts `color` at `clockwise` degrees from the start, between `-seam` (the seam at the
    /// arc's tail) and `360 - seam` (the seam once round).
    void setColorAt(qreal clockwise, const QColor& color);
    [[nodiscard]] qreal seam() const { return m_seam; }
    [[nodiscard]] QBrush brush() const { return QBrush(m_gradient); }

private:
    QConicalGradient m_gradient;
    qreal m_seam;
};

} // namespace dorvale
