#include "widgets/FittedScrollArea.hpp"

#include <QEvent>
#include <QScrollBar>

namespace dorvale {

FittedScrollArea::FittedScrollArea(QWidget* content, QWidget* parent)
    : QScrollArea(parent) {
    setWidget(content);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    content->installEventFilter(this);
}

QSize FittedScrollArea::sizeHint() const {
    const QSize content = widget()->sizeHint();
    const int scrollBar = verticalScrollBar()->sizeHint().width();
    return QSize(content.width() + scrollBar, content.height()).boundedTo(maximumSize());
}

QSize FittedScrollArea::minimumSizeHint() const {
    return {widget()->minimumSizeHint().width(), 0};
}

// The content's new height is passed on, which a scroll area does not do by itself.
bool FittedScrollArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::LayoutRequest) {
        updateGeometry();
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace dorvale
