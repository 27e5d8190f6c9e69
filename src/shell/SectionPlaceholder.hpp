#pragma once

#include "app/AppSection.hpp"
#include "widgets/AmbientBackground.hpp"

namespace dorvale {

class AppState;

/// The page of a section whose own screen is not part of the program yet: the section's
/// title, and on the pages that work on a scan result the scan prompt with that page's texts
/// until a result exists.
class SectionPlaceholder : public AmbientBackground {
    Q_OBJECT

public:
    SectionPlaceholder(AppState& state, AppSection section, QWidget* parent = nullptr);
};

} // namespace dorvale
