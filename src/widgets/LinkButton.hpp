#pragma once

#include <QPushButton>

namespace dorvale {

/// A button that looks like a link: accent-coloured text with no frame, underlined while the
/// pointer is over it. Keyboard use and accessibility are those of `QPushButton`; it never
/// becomes a dialog's default button.
class LinkButton : public QPushButton {
    Q_OBJECT

public:
    explicit LinkButton(const QString& text, QWidget* parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace dorvale
