#include "style/RingGradient.hpp"

#include <algorithm>

namespace dorvale {

RingGradient::RingGradient(const QPointF& centre, qreal start, qreal seam)
    : m_gradient(centre, start + seam)
    , m_seam(seam) {}

// A point `clockwise` degrees from the start lies `clockwise + seam` degrees clockwise from the
// gradient's angle, which is that share of the way back from its end.
void RingGradient::setColorAt(qreal clockwise, const QColor& color) {
    m_gradient.setColorAt(std::clamp(1 - (clockwise + m_seam) / 360, 0.0, 1.0), color);
}

} // namespace dorvale
