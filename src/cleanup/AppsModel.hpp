#pragma once

#include "inventory/InstalledApp.hpp"
#include "widgets/KeyedRowsModel.hpp"

#include <QIcon>

#include <optional>
#include <string>
#include <vector>

namespace dorvale {

class Clock;
class RunningApps;

/// The rows of the applications page: the applications it shows, keyed by bundle path, at
/// first by their total size, largest first. The total's bar is each row's share of the
/// largest total shown (of 1 byte when every total is 0). Names sort in the language's order.
class AppsModel : public KeyedRowsModel<InstalledApp, std::string> {
    Q_OBJECT

public:
    enum Column : int {
        Name,
        Total,
        AppSize,
        Data,
        LastUsed,
    };

    AppsModel(const Clock& clock, const RunningApps& running, QObject* parent = nullptr);

    /// Shows `apps`, in the current sort order.
    void setApps(std::vector<InstalledApp> apps);
    /// The largest total of the rows, at least 1: the bars' full width.
    [[nodiscard]] std::int64_t largestTotal() const { return m_largest; }

    /// "v1.2 · App Store · Apple": the version, the store and the maker, as far as known.
    [[nodiscard]] static QString caption(const InstalledApp& app);

protected:
    [[nodiscard]] std::string keyOf(const InstalledApp& row) const override { return row.path; }
    [[nodiscard]] std::vector<std::int64_t> sortKeys(int column) const override;
    [[nodiscard]] QVariant cellData(std::size_t source, int column, int role) const override;

private:
    [[nodiscard]] QVariant nameData(const InstalledApp& app, std::size_t source, int role) const;
    [[nodiscard]] QVariant dataData(const InstalledApp& app, int role) const;
    [[nodiscard]] QVariant lastUsedData(const InstalledApp& app, int role) const;
    void runningChanged();

    const Clock& m_clock;
    const RunningApps& m_running;
    std::int64_t m_largest = 1;
    // Made for a row when it is first drawn: finding an icon may look at the disk.
    mutable std::vector<std::optional<QIcon>> m_icons;
};

} // namespace dorvale
