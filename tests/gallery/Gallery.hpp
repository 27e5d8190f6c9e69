#pragma once

#include <QString>
#include <QStringList>

class QPixmap;
class QWidget;

namespace dorvale::test {

/// Grabs `widget` once the layouts asked for have been made and, while DORVALE_GALLERY_DIR names a
/// folder, writes the picture there as "<name>.png". Fails the running test when nothing could be
/// drawn or written.
QPixmap savePicture(QWidget& widget, const QString& name);

/// `savePicture`, then fails the running test when any widget below `widget` is drawn cut.
void savePictureWithNothingCut(QWidget& widget, const QString& name);

/// Runs every animation below `root` that runs once to its end, so a picture shows what the
/// animation leads to.
void finishAnimations(QWidget& root);

/// The widgets below `root` that are drawn cut, once the layouts asked for have been made: those
/// shown smaller than their least size, or shorter than the height their width needs, or reaching
/// past their parent's edge. Widgets inside scroll areas are left out: scrolling them is how they
/// show. Each as "name (class): what is cut".
[[nodiscard]] QStringList clippedWidgets(const QWidget& root);

/// The tool tip that hovering `widget` at its centre shows, or "" when it shows none.
[[nodiscard]] QString hoverToolTip(QWidget& widget);

} // namespace dorvale::test
