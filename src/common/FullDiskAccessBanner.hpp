#pragma once

#include "widgets/Card.hpp"

namespace dorvale {

class AppState;

/// A card that asks for full disk access while it is missing: what is lost without it, a
/// button that opens the system's privacy settings and "I’ve Done It", which asks the access
/// probe again. Whoever shows it hides it once `AppState::hasFullDiskAccess` turns true.
class FullDiskAccessBanner : public Card {
    Q_OBJECT

public:
    explicit FullDiskAccessBanner(AppState& state, QWidget* parent = nullptr);

private:
    AppState& m_state;
};

} // namespace dorvale
