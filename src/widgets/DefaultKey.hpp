#pragma once

class QAbstractButton;
class QWidget;

namespace dorvale {

/// Makes Return and Enter anywhere on `page` click `button`, but only while the button is
/// enabled and shown. The shortcut belongs to the page and goes with it.
void setDefaultKey(QWidget& page, QAbstractButton& button);

} // namespace dorvale
