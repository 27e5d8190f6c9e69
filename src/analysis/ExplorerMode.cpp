#include "analysis/ExplorerMode.hpp"

#include <QCoreApplication>

namespace dorvale {

std::string_view rawValue(ExplorerMode mode) {
    return mode == ExplorerMode::Map ? "map" : "list";
}

std::optional<ExplorerMode> explorerModeFromRaw(std::string_view raw) {
    for (const ExplorerMode mode : allExplorerModes) {
        if (rawValue(mode) == raw) {
            return mode;
        }
    }
    return std::nullopt;
}

QString title(ExplorerMode mode) {
    return mode == ExplorerMode::Map ? QCoreApplication::translate("ExplorerMode", "Map")
                                     : QCoreApplication::translate("ExplorerMode", "List");
}

QString symbolName(ExplorerMode mode) {
    return mode == ExplorerMode::Map ? QStringLiteral("chart.pie") : QStringLiteral("list.bullet");
}

} // namespace dorvale
