#include "shell/RootView.hpp"

#include "app/AppState.hpp"
#include "shell/ScanToolbar.hpp"
#include "shell/SectionPages.hpp"
#include "shell/Sidebar.hpp"
#include "shell/StateSheet.hpp"
#include "shell/ToastView.hpp"
#include "shell/sheets/AccessOnboardingView.hpp"
#include "shell/sheets/DeletionSheetFactory.hpp"
#include "style/Theme.hpp"
#include "widgets/Divider.hpp"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int sidebarMinimum = 210;
constexpr int sidebarIdeal = 230;
constexpr int sidebarMaximum = 280;
constexpr QMargins toolbarMargins(Theme::Space::medium, Theme::Space::snug, Theme::Space::medium,
                                  Theme::Space::snug);

} // namespace

RootView::RootView(AppState& state, QWidget* parent)
    : RootView(state, &makeSectionPage, parent) {}

RootView::RootView(AppState& state, PageFactory pages, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_pages(std::move(pages))
    , m_sidebar(new Sidebar(state))
    , m_scanToolbar(new ScanToolbar(state))
    , m_detail(new QWidget)
    , m_pageArea(new QScrollArea) {
    setObjectName(QStringLiteral("rootView"));
    m_sidebar->setMinimumWidth(sidebarMinimum);
    m_sidebar->setMaximumWidth(sidebarMaximum);
    m_detail->setObjectName(QStringLiteral("detail"));
    auto* detailLayout = new QVBoxLayout(m_detail);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    m_detail->installEventFilter(this);
    // The page fills the area while it has room, and scrolls on a screen too small for it.
    m_pageArea->setObjectName(QStringLiteral("pageArea"));
    m_pageArea->setFrameShape(QFrame::NoFrame);
    m_pageArea->setWidgetResizable(true);
    detailLayout->addWidget(m_pageArea);

    auto* split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->addWidget(m_sidebar);
    split->addWidget(m_detail);
    split->setStretchFactor(1, 1);
    split->setSizes({sidebarIdeal, QWIDGETSIZE_MAX});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeToolbar());
    layout->addWidget(makeDivider());
    layout->addWidget(split, 1);

    makeSheets();
    showSection();
    showToast();
    connect(&m_state, &AppState::sectionChanged, this, &RootView::showSection);
    connect(&m_state, &AppState::toastChanged, this, &RootView::showToast);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) {
                    applicationBecameActive();
                }
            });
}

// A toast that leaves the screen with the window is done: it is not shown again when the
// window comes back.
RootView::~RootView() {
    disconnect(&m_state, nullptr, this, nullptr);
    if (m_toast != nullptr && m_state.toast() && m_state.toast()->id == m_toast->toast().id) {
        m_state.setToast(std::nullopt);
    }
}

ToastView* RootView::toastView() const {
    return m_toast;
}

QWidget* RootView::makeToolbar() {
    auto* toolbar = new QWidget;
    toolbar->setObjectName(QStringLiteral("toolbar"));
    auto* layout = new QHBoxLayout(toolbar);
    layout->setContentsMargins(toolbarMargins);
    layout->addStretch();
    layout->addWidget(m_scanToolbar);
    return toolbar;
}

// The onboarding is one sheet, named by its flag; a plan's sheet is named by the plan's id,
// so a new plan replaces it.
void RootView::makeSheets() {
    StateSheet::Binding onboarding;
    onboarding.wanted = [this]() -> std::optional<QString> {
        if (!m_state.showAccessOnboarding()) {
            return std::nullopt;
        }
        return QStringLiteral("onboarding");
    };
    onboarding.make = [this](QWidget* window) -> QDialog* {
        return new AccessOnboardingView(m_state, window);
    };
    onboarding.clear = [this] {
        m_state.setShowAccessOnboarding(false);
    };
    m_onboarding = new StateSheet(*this, std::move(onboarding));

    StateSheet::Binding deletion;
    deletion.wanted = [this]() -> std::optional<QString> {
        if (!m_state.plan()) {
            return std::nullopt;
        }
        return QString::fromStdString(m_state.plan()->id.text());
    };
    deletion.make = [this](QWidget* window) {
        return makeDeletionSheet(m_state, *m_state.plan(), window);
    };
    deletion.clear = [this] {
        m_state.setPlan(std::nullopt);
    };
    m_deletion = new StateSheet(*this, std::move(deletion));

    connect(&m_state, &AppState::showAccessOnboardingChanged, m_onboarding, &StateSheet::sync);
    connect(&m_state, &AppState::planChanged, m_deletion, &StateSheet::sync);
}

void RootView::showSection() {
    const AppSection section = m_state.section();
    if (m_page != nullptr && section == m_pageSection) {
        return;
    }
    if (m_page != nullptr) {
        m_pageArea->takeWidget();
        m_page->hide();
        m_page->deleteLater();
    }
    m_page = m_pages(section, m_state);
    m_pageSection = section;
    m_pageArea->setWidget(m_page);
    // A layout shows a new child only on the next turn of the event loop; the page is there at
    // once, so nothing in between sees the window without it.
    m_page->show();
    if (m_toast != nullptr) {
        m_toast->raise();
    }
}

void RootView::showToast() {
    const std::optional<Toast>& toast = m_state.toast();
    if (m_toast != nullptr && toast && toast->id == m_toast->toast().id) {
        return;
    }
    if (m_toast != nullptr) {
        m_toast->leave();
        m_toast = nullptr;
    }
    if (!toast) {
        return;
    }
    m_toast = new ToastView(m_state, *toast, m_detail);
    m_toast->enter();
}

void RootView::applicationBecameActive() {
    m_state.recheckFullDiskAccess();
    if (m_state.showAccessOnboarding() && m_state.hasFullDiskAccess()) {
        m_state.setShowAccessOnboarding(false);
        m_state.startScan();
    }
}

void RootView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_onboarding->sync();
    m_deletion->sync();
}

bool RootView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_detail && event->type() == QEvent::Resize && m_toast != nullptr) {
        m_toast->place();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace dorvale
