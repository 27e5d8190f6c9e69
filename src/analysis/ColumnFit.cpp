#include "analysis/ColumnFit.hpp"

#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/RiskBadge.hpp"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace dorvale {

std::vector<ColumnWidth> fittedWidths(const QTableView& table, std::span<const ColumnWidth> nominal,
                                      int dateColumn, int riskColumn) {
    std::vector<ColumnWidth> widths(nominal.begin(), nominal.end());
    const int margins = 2 * Theme::Space::small;
    const auto atLeast = [&widths](int column, int least) {
        auto& width = widths[static_cast<std::size_t>(column)];
        width.least = std::max(width.least, least);
        width.preferred = std::max(width.preferred, least);
    };
    atLeast(dateColumn, Typography::textWidth(Typography::monospacedDigits(table.font()),
                                              QStringLiteral("Sep 30, 2023")) +
                            margins);
    atLeast(riskColumn, RiskBadge::sizeFor(Risk::Protected, BadgeForm::Full).width() + margins);
    return widths;
}

void fitColumns(QTableView& table, std::span<const ColumnWidth> widths) {
    const int available = table.viewport()->width();
    int least = 0;
    int preferred = 0;
    for (const ColumnWidth& width : widths) {
        least += width.least;
        preferred += width.preferred;
    }
    const double share = preferred > least
                             ? std::clamp(double(available - least) / (preferred - least), 0.0, 1.0)
                             : 1.0;
    const auto fitted = [share](const ColumnWidth& width) {
        return width.least + int(share * (width.preferred - width.least));
    };
    int used = 0;
    QHeaderView* header = table.horizontalHeader();
    for (std::size_t column = 1; column < widths.size(); ++column) {
        const int width = fitted(widths[column]);
        header->resizeSection(int(column), width);
        used += width;
    }
    header->resizeSection(0, std::max(available - used, fitted(widths.front())));
}

} // namespace dorvale
