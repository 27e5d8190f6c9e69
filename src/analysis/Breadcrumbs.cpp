#include "analysis/Breadcrumbs.hpp"

#include "app/AppState.hpp"
#include "app/PathText.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

namespace dorvale {

namespace {

constexpr int crumbPaddingX = 6;
constexpr int crumbPaddingY = 3;
constexpr qreal crumbRadius = 6;
constexpr qreal currentTint = 0.06;
constexpr int crumbSpacing = 2;
constexpr int leastPathWidth = 60;

// One crumb: plain text, the folder shown in semibold primary type on a faint capsule, the
// others in regular secondary type.
class Crumb : public QPushButton {
public:
    Crumb(const QString& text, bool current)
        : QPushButton(text)
        , m_current(current) {
        setFlat(true);
        setCursor(Qt::PointingHandCursor);
        Typography::apply(*this, TextStyle::Callout,
                          current ? FontWeight::Semibold : FontWeight::StyleDefault);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    [[nodiscard]] QSize sizeHint() const override {
        return {Typography::textWidth(font(), text()) + 2 * crumbPaddingX,
                fontMetrics().height() + 2 * crumbPaddingY};
    }
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor text = Theme::foreground(*this, m_current ? Tone::Primary : Tone::Secondary);
        if (m_current || isDown()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(Theme::withOpacity(Theme::foreground(*this, Tone::Primary),
                                                isDown() ? 2 * currentTint : currentTint));
            painter.drawRoundedRect(QRectF(rect()), crumbRadius, crumbRadius);
        }
        painter.setPen(text);
        painter.drawText(rect(), Qt::AlignCenter, this->text());
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }

private:
    bool m_current;
};

} // namespace

Breadcrumbs::Breadcrumbs(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_back(new IconButton(QStringLiteral("chevron.left"), tr("Back")))
    , m_reveal(new IconButton(QStringLiteral("arrow.up.forward.app"), tr("Show in Finder")))
    , m_scroll(new QScrollArea) {
    setObjectName(QStringLiteral("breadcrumbs"));
    m_back->setObjectName(QStringLiteral("backButton"));
    m_back->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_BracketLeft));
    m_back->setAutoRaise(true);
    m_reveal->setObjectName(QStringLiteral("revealFolderButton"));
    m_reveal->setAutoRaise(true);
    m_scroll->setObjectName(QStringLiteral("crumbs"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(true);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The end of the path is where the user is: a longer path scrolls to keep it in view.
    connect(m_scroll->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            [this](int, int maximum) { m_scroll->horizontalScrollBar()->setValue(maximum); });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::tight);
    layout->addWidget(m_back);
    layout->addWidget(m_scroll);
    layout->addWidget(m_reveal);
    layout->addStretch(1);
    connect(m_back, &QAbstractButton::clicked, this, &Breadcrumbs::goBack);
    connect(m_reveal, &QAbstractButton::clicked, this, &Breadcrumbs::reveal);
    connect(&m_state, &AppState::explorerStackChanged, this, &Breadcrumbs::rebuild);
    rebuild();
}

void Breadcrumbs::rebuild() {
    const std::vector<const FileNode*>& stack = m_state.explorerStack();
    m_back->setEnabled(stack.size() >= 2);
    m_reveal->setVisible(!stack.empty());
    auto* crumbs = new QWidget;
    crumbs->setAutoFillBackground(false);
    auto* row = new QHBoxLayout(crumbs);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(crumbSpacing);
    int height = 0;
    for (std::size_t i = 0; i < stack.size(); ++i) {
        if (i > 0) {
            auto* separator = new SymbolIcon(QStringLiteral("chevron.compact.right"),
                                             fontMetrics().height() * 3 / 4);
            separator->setTone(Tone::Tertiary);
            row->addWidget(separator);
        }
        const QString label = i == 0 ? shownPath(stack[i]->path(), m_state.services().locations)
                                     : pathText(stack[i]->name());
        auto* crumb = new Crumb(label, i + 1 == stack.size());
        crumb->setObjectName(QStringLiteral("crumb%1").arg(i));
        connect(crumb, &QPushButton::clicked, this, [this, i] { cutTo(i); });
        row->addWidget(crumb);
        height = std::max(height, crumb->sizeHint().height());
    }
    row->addStretch();
    // The old crumbs may be sending the click that changed the stack: they go afterwards.
    if (QWidget* old = m_scroll->takeWidget()) {
        old->deleteLater();
    }
    m_crumbs = crumbs;
    m_scroll->setWidget(crumbs);
    m_scroll->setFixedHeight(std::max(height, m_back->sizeHint().height()));
    // As wide as the path, so the reveal button follows it; narrower when space is short.
    const int pathWidth = crumbs->sizeHint().width();
    m_scroll->setMaximumWidth(pathWidth);
    m_scroll->setMinimumWidth(std::min(pathWidth, leastPathWidth));
}

void Breadcrumbs::goBack() {
    std::vector<const FileNode*> stack = m_state.explorerStack();
    if (stack.size() > 1) {
        stack.pop_back();
        m_state.setExplorerStack(std::move(stack));
    }
}

void Breadcrumbs::cutTo(std::size_t index) {
    std::vector<const FileNode*> stack = m_state.explorerStack();
    if (index + 1 < stack.size()) {
        stack.resize(index + 1);
        m_state.setExplorerStack(std::move(stack));
    }
}

void Breadcrumbs::reveal() {
    const std::vector<const FileNode*>& stack = m_state.explorerStack();
    if (!stack.empty()) {
        m_state.services().workspace.reveal({stack.back()->path()});
    }
}

} // namespace dorvale
