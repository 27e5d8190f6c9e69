#include "widgets/FitMinimumSize.hpp"

#include <QLayout>
#include <QWidget>

#include <algorithm>

namespace dorvale {

void fitMinimumSize(QWidget& window, int width) {
    window.ensurePolished();
    QLayout* layout = window.layout();
    const QSize least = layout->totalMinimumSize();
    const int wide = std::max(width, least.width());
    window.setMinimumSize(wide, std::max(least.height(), layout->totalHeightForWidth(wide)));
}

} // namespace dorvale
