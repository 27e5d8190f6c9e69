#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

namespace dorvale {

/// One part of a segmented bar.
struct Segment {
    /// Stable key of the part, also what the bar reports as hovered.
    QString id;
    /// Shown in the part's tool tip.
    QString title;
    /// Bytes of the part.
    std::int64_t value = 0;
    QColor color;
};

} // namespace dorvale
