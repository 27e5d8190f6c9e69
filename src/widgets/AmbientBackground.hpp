#pragma once

#include <QPixmap>
#include <QWidget>

namespace dorvale {

/// The backdrop behind a page's content: the window colour with two large, soft glows of
/// the accent colours, one up and left of the centre, one down and right. Put the page's
/// content in its layout.
///
/// The glows are drawn once per size and colour and kept, so repaints only copy them.
class AmbientBackground : public QWidget {
    Q_OBJECT

public:
    explicit AmbientBackground(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] QPixmap renderGlows() const;

    QPixmap m_glows;
    QRgb m_glowsWindowColor = 0;
};

} // namespace dorvale
