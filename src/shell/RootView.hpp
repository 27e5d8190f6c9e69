#pragma once

#include "app/AppSection.hpp"

#include <QPointer>
#include <QWidget>

#include <functional>

class QScrollArea;

namespace dorvale {

class AppState;
class ScanToolbar;
class Sidebar;
class StateSheet;
class ToastView;

/// The content of the main window: the scan toolbar across the top, the sidebar of sections
/// on the left, and on the right the page of `AppState::section`, with the toast over the
/// page's foot. Two sheets follow the state: the deletion confirmation while a plan is set,
/// the full disk access onboarding while it is asked for; closing either clears its member.
///
/// The page fills the room beside the sidebar and scrolls where the window is smaller than
/// the page's least size. It is built from the state each time its section is shown (the old
/// one goes) by the page factory, `makeSectionPage` unless a test gives its own; setting the
/// section it already shows keeps it. Each time the application becomes active, access is probed
/// again, and an onboarding waiting for it closes and its scan starts once access is there.
class RootView : public QWidget {
    Q_OBJECT

public:
    /// Makes the page of a section.
    using PageFactory = std::function<QWidget*(AppSection section, AppState& state)>;

    explicit RootView(AppState& state, QWidget* parent = nullptr);
    RootView(AppState& state, PageFactory pages, QWidget* parent = nullptr);
    ~RootView() override;

    /// The page shown now.
    [[nodiscard]] QWidget* page() const { return m_page; }
    [[nodiscard]] Sidebar* sidebar() const { return m_sidebar; }
    [[nodiscard]] ScanToolbar* scanToolbar() const { return m_scanToolbar; }
    /// The toast shown now, not counting one on its way out.
    [[nodiscard]] ToastView* toastView() const;
    [[nodiscard]] StateSheet* onboardingSheet() const { return m_onboarding; }
    [[nodiscard]] StateSheet* deletionSheet() const { return m_deletion; }

    /// The application became active (the user came back, perhaps from the privacy
    /// settings): probes access again; if the onboarding is shown and access is now granted,
    /// closes it and scans the current target. Connected to the application's state; tests
    /// call it directly.
    void applicationBecameActive();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] QWidget* makeToolbar();
    void makeSheets();
    void showSection();
    void showToast();

    AppState& m_state;
    PageFactory m_pages;
    Sidebar* m_sidebar;
    ScanToolbar* m_scanToolbar;
    QWidget* m_detail;
    QScrollArea* m_pageArea;
    QWidget* m_page = nullptr;
    AppSection m_pageSection = AppSection::SmartClean;
    QPointer<ToastView> m_toast;
    StateSheet* m_onboarding = nullptr;
    StateSheet* m_deletion = nullptr;
};

} // namespace dorvale
