#pragma once

#include <QWidget>

class QVariantAnimation;

namespace dorvale {

/// The tick of a finished smart clean: a faint green disc with a large green tick on it. Each
/// time it is shown, disc and tick spring up from smaller sizes with a slight overshoot.
class DoneTick : public QWidget {
    Q_OBJECT

public:
    explicit DoneTick(QWidget* parent = nullptr);

    /// 0 before the spring, 1 once it has settled.
    [[nodiscard]] qreal appearance() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QVariantAnimation* m_appear;
};

} // namespace dorvale
