#include "gallery/Gallery.hpp"

#include <QAbstractAnimation>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QPixmap>
#include <QToolTip>
#include <QWidget>
#include <QtTest>

namespace dorvale::test {

namespace {

QString describe(const QWidget& widget) {
    const QString name =
        widget.objectName().isEmpty() ? QStringLiteral("unnamed") : widget.objectName();
    return QStringLiteral("%1 (%2)").arg(name,
                                         QString::fromLatin1(widget.metaObject()->className()));
}

bool insideScrollArea(const QWidget& widget, const QWidget& root) {
    for (const QWidget* parent = widget.parentWidget(); parent != nullptr && parent != &root;
         parent = parent->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(parent) != nullptr) {
            return true;
        }
    }
    return false;
}

// The least size the widget's layout would give it: its own minimum where one is set, else
// its hint, and never more than its maximum (a button held narrower than its title elides it).
QSize leastSize(const QWidget& widget) {
    QSize least = widget.minimumSizeHint();
    if (widget.minimumWidth() > 0) {
        least.setWidth(widget.minimumWidth());
    }
    if (widget.minimumHeight() > 0) {
        least.setHeight(widget.minimumHeight());
    }
    return least.boundedTo(widget.maximumSize());
}

QString cutOf(const QWidget& widget) {
    const QSize least = leastSize(widget);
    if (least.isValid() && (widget.width() < least.width() || widget.height() < least.height())) {
        return QStringLiteral("shown %1×%2, needs %3×%4")
            .arg(widget.width())
            .arg(widget.height())
            .arg(least.width())
            .arg(least.height());
    }
    if (widget.hasHeightForWidth() && widget.height() < widget.heightForWidth(widget.width())) {
        return QStringLiteral("%1 high, needs %2 at its width")
            .arg(widget.height())
            .arg(widget.heightForWidth(widget.width()));
    }
    const QWidget* parent = widget.parentWidget();
    if (!widget.isWindow() && parent != nullptr && !parent->rect().contains(widget.geometry())) {
        return QStringLiteral("reaches past its parent's edge");
    }
    return {};
}

} // namespace

void settleLayouts() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

QPixmap savePicture(QWidget& widget, const QString& name) {
    settleLayouts();
    const QPixmap picture = widget.grab();
    if (picture.isNull()) {
        QTest::qFail(qPrintable(QStringLiteral("Nothing was drawn for %1").arg(name)), __FILE__,
                     __LINE__);
        return picture;
    }
    const QString folder = qEnvironmentVariable("DORVALE_GALLERY_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, name);
        if (!picture.save(file)) {
            QTest::qFail(qPrintable(QStringLiteral("Could not write %1").arg(file)), __FILE__,
                         __LINE__);
        }
    }
    return picture;
}

void finishAnimations(QWidget& root) {
    for (QAbstractAnimation* animation : root.findChildren<QAbstractAnimation*>()) {
        if (animation->state() == QAbstractAnimation::Running && animation->loopCount() == 1) {
            animation->setCurrentTime(animation->totalDuration());
        }
    }
}

QStringList clippedWidgets(const QWidget& root) {
    settleLayouts();
    QStringList clipped;
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&root) || widget->isWindow() || insideScrollArea(*widget, root)) {
            continue;
        }
        if (const QString cut = cutOf(*widget); !cut.isEmpty()) {
            clipped.append(QStringLiteral("%1: %2").arg(describe(*widget), cut));
        }
    }
    return clipped;
}

void savePictureWithNothingCut(QWidget& widget, const QString& name) {
    savePicture(widget, name);
    QCOMPARE(clippedWidgets(widget).join(QStringLiteral("; ")), QString());
}

// A hidden tool tip stays on screen a moment longer; it is put away at once, so the next
// question sees only what its own hover shows.
void putAwayToolTip() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel")) {
            window->hide();
        }
    }
}

QString hoverToolTip(QWidget& widget) {
    putAwayToolTip();
    const QPoint centre = widget.rect().center();
    QHelpEvent event(QEvent::ToolTip, centre, widget.mapToGlobal(centre));
    QApplication::sendEvent(&widget, &event);
    const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
    putAwayToolTip();
    return shown;
}

} // namespace dorvale::test
