#pragma once

#include "app/AppState.hpp"
#include "support/TreeBuilder.hpp"
#include "support/app/AppFixture.hpp"

#include <QWidget>

#include <memory>
#include <string>

namespace dorvale::test {

/// A real application state on the fakes of `AppFixture`, with scans held on the latch, and
/// a window to show the widget under test in. Change `fixture` or `services` first, then
/// call `makeState`. Members go in reverse order: the window, then the state, then the
/// fixture.
struct ShellFixture {
    ShellFixture()
        : services(fixture.services()) {
        services.scan = fixture.scans.seam();
    }

    AppState& makeState() {
        state = std::make_unique<AppState>(services);
        return *state;
    }

    /// Shows `widget` alone in a window of `size`, which takes it over.
    template <typename Widget>
    Widget* show(Widget* widget, QSize size = {640, 420}) {
        window = std::make_unique<QWidget>();
        widget->setParent(window.get());
        widget->setGeometry(QRect(QPoint(0, 0), size));
        window->resize(size);
        window->show();
        return widget;
    }

    /// A scan of the fixture's home folder holding one file of 1 MB.
    [[nodiscard]] std::shared_ptr<ScanResult> homeScan() const {
        TreeBuilder builder(fixture.locations.home);
        builder.file(builder.root(), "movie.mov", 1'048'576);
        return std::make_shared<ScanResult>(builder.finish());
    }

    AppFixture fixture;
    AppServices services;
    std::unique_ptr<AppState> state;
    std::unique_ptr<QWidget> window;
};

} // namespace dorvale::test
