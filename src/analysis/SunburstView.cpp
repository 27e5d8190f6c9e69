#include "analysis/SunburstView.hpp"

#include "app/ByteText.hpp"
#include "platform/Formatters.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/AccessibleRole.hpp"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int fadeMilliseconds = 150;
constexpr double labelWidthInRings = 2.1;
constexpr double leastTextScale = 0.7;
constexpr int preferredSide = 420;
constexpr int leastSide = 160;

// `font` made smaller, down to `leastTextScale` of its size, until `text` fits `width`.
QFont fitted(QFont font, const QString& text, qreal width) {
    const qreal natural = Typography::textWidth(font, text);
    if (natural > width && natural > 0) {
        const qreal scale = std::max(width / natural, leastTextScale);
        if (font.pointSizeF() > 0) {
            font.setPointSizeF(font.pointSizeF() * scale);
        } else {
            font.setPixelSize(std::max(qRound(font.pixelSize() * scale), 1));
        }
    }
    return font;
}

} // namespace

SunburstView::SunburstView(std::shared_ptr<const ScanResult> scan, const FileNode* root,
                           int maxDepth, std::string dataVolume, QWidget* parent)
    : QWidget(parent)
    , m_scan(std::move(scan))
    , m_root(root)
    , m_maxDepth(maxDepth)
    , m_dataVolume(std::move(dataVolume))
    , m_fade(new QVariantAnimation(this)) {
    setObjectName(QStringLiteral("sunburst"));
    setAccessibleRole(*this, QAccessible::Chart);
    setAccessibleName(tr("Folder map"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_fade->setStartValue(0.0);
    m_fade->setEndValue(1.0);
    m_fade->setDuration(fadeMilliseconds);
    m_fade->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_fade, &QVariantAnimation::valueChanged, this, [this] { update(); });
    describe();
}

void SunburstView::setRoot(const FileNode* root) {
    m_root = root;
    m_hovered = nullptr;
    invalidate();
}

void SunburstView::relayout() {
    // The hovered node may have been deleted with its arc; the pointer then rests on no arc.
    if (m_hovered != nullptr && m_hovered->deleted()) {
        setHovered(nullptr);
    }
    invalidate();
}

void SunburstView::invalidate() {
    m_arcs.reset();
    m_current = {};
    m_previous = {};
    m_fade->stop();
    describe();
    update();
}

const std::vector<SunburstView::Arc>& SunburstView::arcs() const {
    if (!m_arcs) {
        m_arcs = m_root != nullptr ? layoutArcs(*m_root, m_maxDepth) : std::vector<Arc>{};
    }
    return *m_arcs;
}

SunburstView::Geometry SunburstView::geometry() const {
    return Geometry::of(QSizeF(size()), m_maxDepth);
}

void SunburstView::handleHover(std::optional<QPointF> point) {
    const Arc* hit = point ? hitTest(arcs(), geometry(), *point) : nullptr;
    const FileNode* node = hit != nullptr ? hit->node : nullptr;
    if (node != m_hovered) {
        setHovered(node);
    }
}

void SunburstView::handleTap(QPointF point) {
    if (geometry().inCentre(point)) {
        emit upRequested();
        return;
    }
    const Arc* hit = hitTest(arcs(), geometry(), point);
    if (hit != nullptr && hit->node->isDirectory() && !hit->node->isPackage()) {
        emit openRequested(hit->node);
    }
}

void SunburstView::setHovered(const FileNode* node) {
    m_hovered = node;
    if (!m_current.image.isNull()) {
        m_previous = std::move(m_current);
        m_current = {};
        m_fade->stop();
        m_fade->start();
    }
    describe();
    update();
    emit hoveredChanged(node);
}

QStringList SunburstView::centerLabel() const {
    const FileNode* shown = m_hovered != nullptr ? m_hovered : m_root;
    if (shown == nullptr) {
        return {};
    }
    QStringList lines = {centerTitle(*shown, m_dataVolume), byteText(shown->size())};
    if (m_hovered != nullptr) {
        lines << QString::fromStdString(percentText(m_hovered->size(), m_root->size()));
    } else if (m_root->parent() != nullptr) {
        lines << tr("Up");
    }
    return lines;
}

QSize SunburstView::sizeHint() const {
    return {preferredSide, preferredSide};
}

QSize SunburstView::minimumSizeHint() const {
    return {leastSide, leastSide};
}

const QImage& SunburstView::imageFor(const FileNode* hovered) {
    const qreal ratio = devicePixelRatioF();
    if (m_current.image.isNull() || m_current.hovered != hovered ||
        m_current.image.size() != size() * ratio) {
        m_current = {hovered, drawArcs(arcs(), size(), m_maxDepth, ratio, hovered,
                                       QWidget::palette().color(QPalette::Window))};
    }
    return m_current.image;
}

void SunburstView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool fading = m_fade->state() == QAbstractAnimation::Running &&
                        !m_previous.image.isNull() &&
                        m_previous.image.size() == size() * devicePixelRatioF();
    if (fading) {
        painter.drawImage(QPointF(0, 0), m_previous.image);
        painter.setOpacity(m_fade->currentValue().toDouble());
    }
    painter.drawImage(QPointF(0, 0), imageFor(m_hovered));
    painter.setOpacity(1);
    paintCenterLabel(painter);
    if (hasFocus() && m_hovered == nullptr) {
        // With nothing stepped to, the focus ring goes round the centre disc.
        const Geometry g = geometry();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QWidget::palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(g.center, g.ringWidth - 2, g.ringWidth - 2);
    }
}

void SunburstView::paintCenterLabel(QPainter& painter) const {
    const QStringList lines = centerLabel();
    if (lines.isEmpty()) {
        return;
    }
    const Geometry g = geometry();
    const qreal width = g.ringWidth * labelWidthInRings;
    const std::array<QFont, 3> fonts = {
        Typography::font(TextStyle::Headline),
        Typography::font(TextStyle::Title3, FontWeight::Bold, Digits::Tabular),
        Typography::font(TextStyle::Caption),
    };
    std::vector<QFont> used;
    qreal height = 0;
    for (int i = 0; i < lines.size(); ++i) {
        used.push_back(fitted(fonts[static_cast<std::size_t>(i)], lines[i], width));
        height += QFontMetricsF(used.back()).height() + (i > 0 ? Theme::Space::hairline : 0);
    }
    qreal y = g.center.y() - height / 2;
    for (int i = 0; i < lines.size(); ++i) {
        const QFontMetricsF metrics(used[static_cast<std::size_t>(i)]);
        const bool secondary = i == 2;
        painter.setFont(used[static_cast<std::size_t>(i)]);
        painter.setPen(Theme::foreground(*this, secondary ? Tone::Secondary : Tone::Primary));
        QString text = metrics.elidedText(lines[i], Qt::ElideRight, width);
        QRectF line(g.center.x() - width / 2, y, width, metrics.height());
        if (secondary && m_hovered == nullptr) {
            // "Up", led by its arrow.
            const int side = qRound(metrics.ascent());
            const qreal textWidth = metrics.horizontalAdvance(text);
            const qreal left = g.center.x() - (side + Theme::Space::tight + textWidth) / 2;
            painter.drawPixmap(
                QPointF(left, y + (metrics.height() - side) / 2),
                Symbols::pixmap(u"arrow.up", side, painter.pen().color(), devicePixelRatioF()));
            line.setLeft(left + side + Theme::Space::tight);
            painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, text);
        } else {
            painter.drawText(line, Qt::AlignCenter, text);
        }
        y += metrics.height() + Theme::Space::hairline;
    }
}

void SunburstView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_current = {};
    m_previous = {};
}

void SunburstView::mouseMoveEvent(QMouseEvent* event) {
    handleHover(event->position());
    QWidget::mouseMoveEvent(event);
}

void SunburstView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        handleTap(event->position());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void SunburstView::leaveEvent(QEvent* event) {
    handleHover(std::nullopt);
    QWidget::leaveEvent(event);
}

void SunburstView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        stepFocus(1);
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        stepFocus(-1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_hovered != nullptr && m_hovered->isDirectory() && !m_hovered->isPackage()) {
            emit openRequested(m_hovered);
        }
        return;
    case Qt::Key_Backspace:
        emit upRequested();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

// The arrow keys walk the arcs in their drawing order, as the pointer would visit them.
void SunburstView::stepFocus(int step) {
    const std::vector<Arc>& all = arcs();
    if (all.empty()) {
        return;
    }
    const auto current = std::find_if(all.begin(), all.end(),
                                      [this](const Arc& arc) { return arc.node == m_hovered; });
    const auto count = static_cast<std::ptrdiff_t>(all.size());
    std::ptrdiff_t index = current == all.end() ? (step > 0 ? 0 : count - 1)
                                                : (current - all.begin() + step + count) % count;
    setHovered(all[static_cast<std::size_t>(index)].node);
}

void SunburstView::describe() {
    setAccessibleDescription(centerLabel().join(QStringLiteral(", ")));
}

} // namespace dorvale
