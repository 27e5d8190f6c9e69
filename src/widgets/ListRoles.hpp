#pragma once

#include <Qt>

namespace dorvale {

/// The item-data roles through which list models feed the kit's cell delegates.
enum ListRole : int {
    /// A size in bytes (`qint64`), for the size-bar delegate.
    SizeRole = Qt::UserRole + 100,
    /// The largest size of the list (`qint64`): a bar shows its row's share of it.
    LargestSizeRole,
    /// The colour of a size bar (`QColor`); the accent colour when absent.
    BarColorRole,
    /// A `Risk` as its integer value, for the risk delegate.
    RiskRole,
    /// The second line of a name cell, usually the shown path.
    DetailRole,
    /// The colour of a small dot after the name of a name cell (`QColor`): a state such as
    /// running; no dot when absent.
    MarkColorRole,
};

} // namespace dorvale
