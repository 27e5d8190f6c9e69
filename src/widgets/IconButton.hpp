#pragma once

#include <QToolButton>

namespace dorvale {

/// A tool button showing one of the interface's symbols. It starts icon-only: then its tool
/// tip names it, and is also the accessible name that assistive technology reads in place of
/// the text it does not show. With a label beside the symbol, the label names it. Keeps the
/// symbol's name in its "symbol" property.
///
/// With a menu beside its own action (`MenuButtonPopup`), Down, Alt+Down and F4 open the
/// menu, as they open a drop-down list; Space and Return keep to the button's own action.
class IconButton : public QToolButton {
    Q_OBJECT

public:
    /// `name` becomes the tool tip.
    IconButton(const QString& symbol, const QString& name, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    [[nodiscard]] QString symbol() const;
    /// Shows `label` beside the symbol; an empty label shows the symbol alone again.
    void setLabel(const QString& label);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void nameForAssistiveTechnology();
};

} // namespace dorvale
