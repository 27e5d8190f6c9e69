#pragma once

#include <QColor>
#include <QProgressBar>

namespace dorvale {

/// A thin capsule bar filled to a fraction in a tint, on a faint track. It is a progress bar
/// to assistive technology, which reads the filled share as a percentage.
class UsageBar : public QProgressBar {
    Q_OBJECT

public:
    explicit UsageBar(QWidget* parent = nullptr);

    /// Fills the bar to `fraction`, taken within [0, 1].
    void setFraction(double fraction);
    [[nodiscard]] double fraction() const;
    void setTint(const QColor& tint);
    [[nodiscard]] QColor tint() const { return m_tint; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_tint;
};

} // namespace dorvale
