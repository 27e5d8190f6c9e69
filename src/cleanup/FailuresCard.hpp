#pragma once

#include "model/DeletionReport.hpp"
#include "platform/Locations.hpp"
#include "widgets/Card.hpp"

#include <vector>

namespace dorvale {

/// What the last deletion could not remove: a heading over one row for each of the first
/// `maximumShown` failures, each with the item's shown path (elided in the middle) over the
/// reason. Hidden while there are none.
class FailuresCard : public Card {
    Q_OBJECT

public:
    static constexpr std::size_t maximumShown = 8;

    explicit FailuresCard(const Locations& locations, QWidget* parent = nullptr);

    void setFailures(const std::vector<DeletionFailure>& failures);

private:
    [[nodiscard]] QWidget* makeRow(const DeletionFailure& failure) const;

    const Locations& m_locations;
    QWidget* m_rows;
};

} // namespace dorvale
