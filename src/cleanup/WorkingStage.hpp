#pragma once

#include <QWidget>

namespace dorvale {

class ScanningRing;
class WrappingLabel;

/// The smart clean's busy page while it searches or cleans: the turning scanning ring with a
/// sparkle at its centre, a bold title and a line below it. It has no control: nothing can be
/// started twice while it shows.
class WorkingStage : public QWidget {
    Q_OBJECT

public:
    WorkingStage(const QString& title, const QString& subtitle, QWidget* parent = nullptr);

    [[nodiscard]] QString title() const;
    [[nodiscard]] QString subtitle() const;

private:
    WrappingLabel* m_title;
    WrappingLabel* m_subtitle;
};

} // namespace dorvale
