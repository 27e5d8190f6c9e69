#pragma once

namespace dorvale {

class IconButton;

/// The Refresh button of a page that reads its own list: the symbol with the label "Refresh".
[[nodiscard]] IconButton* makeRefreshButton();

} // namespace dorvale
