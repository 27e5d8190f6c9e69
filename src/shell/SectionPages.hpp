#pragma once

#include "app/AppSection.hpp"

class QWidget;

namespace dorvale {

class AppState;

/// Makes the page of `section`, built from the current state each time the window shows
/// that section. Each section has its own case, where its screen is made; a section whose
/// screen is not part of the program yet shows a `SectionPlaceholder`.
[[nodiscard]] QWidget* makeSectionPage(AppSection section, AppState& state);

} // namespace dorvale
