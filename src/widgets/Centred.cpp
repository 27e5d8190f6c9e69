#include "widgets/Centred.hpp"

#include <QHBoxLayout>
#include <QWidget>

namespace dorvale {

QWidget* centredAtMost(QWidget* widget, int maximumWidth) {
    widget->setMaximumWidth(maximumWidth);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    layout->addWidget(widget, 1);
    layout->addStretch();
    return row;
}

} // namespace dorvale
