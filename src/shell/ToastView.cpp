#include "shell/ToastView.hpp"

#include "app/AppState.hpp"
#include "style/Theme.hpp"
#include "widgets/AccessibleRole.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int lift = 20;
constexpr int cornerRadius = 14;
constexpr qreal materialOpacity = 0.94;
constexpr qreal borderOpacity = 0.08;
constexpr int shadowRadius = 20;
constexpr int shadowOffset = 8;
constexpr qreal shadowOpacity = 0.2;
// Room around the panel for its shadow, which is drawn outside it.
constexpr QMargins shadowRoom(shadowRadius, shadowRadius / 2, shadowRadius,
                              shadowRadius / 2 + shadowOffset);
constexpr int motionMilliseconds = 350;
// The longest a toast gets, so a long message is cut rather than covering the page.
constexpr int maximumPanelWidth = 560;

// A soft shadow below the panel: stacked rounded rectangles, each a little larger and as
// faint, which add up to the full strength under the panel and fade out over the radius. One
// graphics effect per widget is all Qt draws cleanly, and the view's is its fade.
void paintShadow(QPainter& painter, const QRectF& panel) {
    constexpr int steps = 10;
    const QColor layer = Theme::withOpacity(Theme::shadow(), shadowOpacity / steps);
    painter.setPen(Qt::NoPen);
    painter.setBrush(layer);
    const QRectF lowered = panel.translated(0, shadowOffset);
    for (int step = steps; step >= 1; --step) {
        const qreal grow = static_cast<qreal>(shadowRadius) * step / steps / 2;
        painter.drawRoundedRect(lowered.adjusted(-grow, -grow, grow, grow), cornerRadius + grow,
                                cornerRadius + grow);
    }
}

ElidedLabel* textLine(const QString& text, TextStyle style, Tone tone, const char* name) {
    auto* label = new ElidedLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextStyle(style);
    label->setTone(tone);
    return label;
}

} // namespace

ToastView::ToastView(AppState& state, Toast toast, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_toast(std::move(toast))
    , m_fade(new QGraphicsOpacityEffect(this)) {
    setObjectName(QStringLiteral("toast"));
    setAccessibleRole(*this, QAccessible::Notification);
    setAccessibleName(m_toast.message);
    setAccessibleDescription(m_toast.detail.value_or(QString()));
    setGraphicsEffect(m_fade);
    makeContent();
    m_lifetime.setSingleShot(true);
    m_lifetime.setInterval(m_state.services().delays.toastLifetime);
    connect(&m_lifetime, &QTimer::timeout, this, &ToastView::dismissIfCurrent);
    m_lifetime.start();
}

QRect ToastView::panelGeometry() const {
    return rect().marginsRemoved(shadowRoom);
}

void ToastView::makeContent() {
    auto* icon = new SymbolIcon(QStringLiteral("checkmark.circle.fill"),
                                QFontMetrics(Typography::font(TextStyle::Title2)).height());
    icon->setColor(Theme::safe());
    auto* texts = new QVBoxLayout;
    texts->setSpacing(Theme::Space::hairline);
    texts->addWidget(textLine(m_toast.message, TextStyle::Headline, Tone::Primary, "toastMessage"));
    if (m_toast.detail) {
        texts->addWidget(
            textLine(*m_toast.detail, TextStyle::Caption, Tone::Secondary, "toastDetail"));
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(shadowRoom + QMargins(Theme::Space::large, Theme::Space::medium,
                                                  Theme::Space::large, Theme::Space::medium));
    row->setSpacing(Theme::Space::medium);
    row->addWidget(icon, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    if (!m_toast.undoable.empty()) {
        auto* undo = new QPushButton(tr("Undo"));
        undo->setObjectName(QStringLiteral("undoButton"));
        connect(undo, &QPushButton::clicked, this, [this] { m_state.restore(m_toast.undoable); });
        row->addWidget(undo, 0, Qt::AlignVCenter);
    }
    auto* close = new IconButton(QStringLiteral("xmark"), tr("Close"));
    close->setObjectName(QStringLiteral("closeToastButton"));
    close->setAutoRaise(true);
    connect(close, &IconButton::clicked, this, [this] { m_state.setToast(std::nullopt); });
    row->addWidget(close, 0, Qt::AlignVCenter);
}

void ToastView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF panel(panelGeometry());
    paintShadow(painter, panel);
    painter.setPen(
        QPen(Theme::withOpacity(Theme::foreground(*this, Tone::Primary), borderOpacity), 1));
    painter.setBrush(Theme::withOpacity(palette().color(QPalette::Window), materialOpacity));
    painter.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
}

QRect ToastView::placement() const {
    const QRect area = parentWidget()->rect();
    const int width =
        std::min({sizeHint().width(), maximumPanelWidth + shadowRoom.left() + shadowRoom.right(),
                  area.width()});
    const int height = sizeHint().height();
    // The panel, not its shadow's room, sits `lift` above the edge.
    return {(area.width() - width) / 2, area.height() - lift - height + shadowRoom.bottom(), width,
            height};
}

void ToastView::place() {
    if (!m_leaving) {
        setGeometry(placement());
    }
}

void ToastView::enter() {
    const QRect target = placement();
    setGeometry(target);
    show();
    raise();
    // Announced as it appears, as Qt's own message boxes are.
    QAccessibleEvent appeared(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&appeared);
    animate({target.x(), parentWidget()->height()}, target.topLeft(), 0, 1);
}

void ToastView::leave() {
    m_leaving = true;
    m_lifetime.stop();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    animate(pos(), {x(), parentWidget()->height()}, m_fade->opacity(), 0);
    connect(m_motion, &QAbstractAnimation::finished, this, &QObject::deleteLater);
}

void ToastView::animate(const QPoint& from, const QPoint& to, qreal fromOpacity, qreal toOpacity) {
    if (m_motion != nullptr) {
        m_motion->stop();
        m_motion->deleteLater();
    }
    m_motion = new QParallelAnimationGroup(this);
    auto* move = new QPropertyAnimation(this, "pos", m_motion);
    move->setStartValue(from);
    move->setEndValue(to);
    auto* fade = new QPropertyAnimation(m_fade, "opacity", m_motion);
    fade->setStartValue(fromOpacity);
    fade->setEndValue(toOpacity);
    for (QPropertyAnimation* animation : {move, fade}) {
        animation->setDuration(motionMilliseconds);
        animation->setEasingCurve(QEasingCurve::OutCubic);
        m_motion->addAnimation(animation);
    }
    m_motion->start();
}

void ToastView::dismissIfCurrent() {
    if (m_state.toast() && m_state.toast()->id == m_toast.id) {
        m_state.setToast(std::nullopt);
    }
}

} // namespace dorvale
