#pragma once

#include "app/ScanTarget.hpp"
#include "model/ScanResult.hpp"
#include "widgets/AmbientBackground.hpp"

#include <cstdint>
#include <memory>

class QScrollArea;

namespace dorvale {

class AppState;
class FullDiskAccessBanner;
class ScanPrompt;

/// The overview page. Before any scan, the scan prompt; after one, a scrolling column of the
/// page header with what was scanned, the full disk access banner while access is missing,
/// the row of figures, the composition card, and the largest folders beside the
/// recommendations.
///
/// The column is built for one published result and revision, and built anew when either
/// changes, which also resets what its cards hold of their own (the category under the
/// pointer). Progress, toasts and loading flags never rebuild it: the parts that follow
/// other members (the banner, the volume's figures, the junk) update in place.
class OverviewView : public AmbientBackground {
    Q_OBJECT

public:
    explicit OverviewView(AppState& state, QWidget* parent = nullptr);

    /// "<target> · <files> files in <seconds> s", with the count grouped as the current
    /// locale groups it and the seconds to one decimal.
    [[nodiscard]] static QString subtitle(const ScanTarget& target, const ScanResult& scan);

    /// The scrolling column; null while the prompt shows.
    [[nodiscard]] QWidget* column() const { return m_column; }
    [[nodiscard]] ScanPrompt* prompt() const { return m_prompt; }

private:
    void refresh();
    [[nodiscard]] QWidget* makeColumn(const std::shared_ptr<const ScanResult>& scan);
    void showBanner();

    AppState& m_state;
    ScanPrompt* m_prompt;
    QScrollArea* m_scroll;
    QWidget* m_column = nullptr;
    FullDiskAccessBanner* m_banner = nullptr;
    // What the column was built for.
    const ScanResult* m_shownScan = nullptr;
    std::int64_t m_shownRevision = -1;
};

} // namespace dorvale
