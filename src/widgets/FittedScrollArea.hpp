#pragma once

#include <QScrollArea>

namespace dorvale {

/// A vertical scroll area as high as its content, up to its maximum height, beyond which the
/// content scrolls; it may be made lower still when the page has no more room. Its content
/// takes the area's width. (A plain scroll area asks for a fixed small size, whatever it
/// holds.)
class FittedScrollArea : public QScrollArea {
    Q_OBJECT

public:
    explicit FittedScrollArea(QWidget* content, QWidget* parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace dorvale
