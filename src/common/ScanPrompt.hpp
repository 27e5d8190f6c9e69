#pragma once

#include "app/AppSection.hpp"
#include "widgets/AmbientBackground.hpp"

#include <QString>

#include <optional>

namespace dorvale {

class AppState;
class ElidedLabel;
class FullDiskAccessBanner;
class ScanningRing;
class Throttle;

/// What a page that needs a scan shows before it has one: a centred invitation with the
/// page's title and message and two buttons, "Scan Entire Disk" and "Home Folder Only", with
/// the full disk access banner below them while access is missing. While a scan runs it
/// shows the scanning ring with the files and bytes counted so far and the path being read
/// instead. Follows `AppState::isScanning`, `progress` and `hasFullDiskAccess`; the page
/// decides when to replace it with its content.
class ScanPrompt : public AmbientBackground {
    Q_OBJECT

public:
    /// A page's title and message.
    struct Texts {
        QString title;
        QString message;
    };

    ScanPrompt(AppState& state, const QString& title, const QString& message,
               QWidget* parent = nullptr);

    /// The texts of the prompt on the page of `section`; nothing for the pages that show no
    /// prompt. The overview, explorer, types, large-files and duplicates pages have one.
    [[nodiscard]] static std::optional<Texts> textsFor(AppSection section);

private:
    [[nodiscard]] QWidget* makeIdleForm(const QString& title, const QString& message);
    [[nodiscard]] QWidget* makeScanningForm();
    void showForm();
    void showProgress();

    AppState& m_state;
    ScanningRing* m_ring = nullptr;
    ElidedLabel* m_path = nullptr;
    FullDiskAccessBanner* m_banner = nullptr;
    QWidget* m_idleForm;
    QWidget* m_scanningForm;
    Throttle* m_progress;
};

} // namespace dorvale
