#pragma once

#include "app/Toast.hpp"

#include <QTimer>
#include <QWidget>

class QGraphicsOpacityEffect;
class QParallelAnimationGroup;

namespace dorvale {

class AppState;

/// The one transient message over the page column, for one toast: a green check, the
/// message with its detail below, "Undo" when the toast has entries to put back (the restore
/// shows its own toast in this one's place), and a close button. It clears the toast after the
/// toast lifetime (`Delays::toastLifetime`) unless another toast has taken its place by then. It
/// moves in from the bottom edge of its parent while fading in, and leaves the same way. To
/// assistive technology it is a notification, named by its message and described by its
/// detail, announced as it appears.
///
/// The window makes one per toast id and places it at the bottom centre of the page column,
/// 20 pixels above the edge.
class ToastView : public QWidget {
    Q_OBJECT

public:
    /// Starts the toast's wait at once.
    ToastView(AppState& state, Toast toast, QWidget* parent);

    [[nodiscard]] const Toast& toast() const { return m_toast; }
    /// Where the rounded panel lies within the view; the rest is room for its shadow.
    [[nodiscard]] QRect panelGeometry() const;
    /// Whether the view is on its way out.
    [[nodiscard]] bool isLeaving() const { return m_leaving; }

    /// Puts the view at the bottom centre of its parent, as wide as its content allows.
    void place();
    /// Places the view and lets it move in.
    void enter();
    /// Lets the view move out and then deletes it. It no longer touches the state.
    void leave();
    /// The end of the toast's wait: clears the toast if it is still this one, and leaves any
    /// newer toast alone.
    void dismissIfCurrent();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void makeContent();
    [[nodiscard]] QRect placement() const;
    void animate(const QPoint& from, const QPoint& to, qreal fromOpacity, qreal toOpacity);

    AppState& m_state;
    Toast m_toast;
    QTimer m_lifetime;
    QGraphicsOpacityEffect* m_fade;
    QParallelAnimationGroup* m_motion = nullptr;
    bool m_leaving = false;
};

} // namespace dorvale
