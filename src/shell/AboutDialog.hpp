#pragma once

#include <QDialog>

namespace dorvale {

/// "About Dorvale": the program's icon, name and version and one line of what it does, with a
/// Close button, window-modal over `parent` and deleted when closed. Its texts keep to one
/// line each, so the dialog is as wide as its longest line.
class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent);
};

} // namespace dorvale
