#include "cleanup/PageParts.hpp"

#include "style/Theme.hpp"

#include <QVBoxLayout>
#include <QWidget>

namespace dorvale {

QWidget* withPageMargins(QWidget* widget, PageEdges edges) {
    auto* container = new QWidget;
    auto* layout = new QVBoxLayout(container);
    const int margin = Theme::Space::page;
    layout->setContentsMargins(margin, edges == PageEdges::SidesAndTop ? margin : 0, margin, 0);
    layout->addWidget(widget);
    return container;
}

} // namespace dorvale
