#pragma once

#include <QColor>
#include <QWidget>

#include <optional>

namespace dorvale {

class AppState;
class ElidedLabel;
class UsageBar;
struct VolumeInfo;

/// The foot of the sidebar: the start-up volume's name, its free space, and a bar of the
/// used share, red once less than a tenth of the volume is free. Shows nothing while the
/// volume cannot be read. Follows `AppState::volume`.
class DiskFooter : public QWidget {
    Q_OBJECT

public:
    explicit DiskFooter(AppState& state, QWidget* parent = nullptr);

    /// The bar's colour for a volume: danger while less than a tenth of it is free (a volume
    /// of no size counts as one byte), else the accent.
    [[nodiscard]] static QColor tintFor(const VolumeInfo& volume);

private:
    void refresh();

    AppState& m_state;
    QWidget* m_content;
    ElidedLabel* m_name;
    ElidedLabel* m_free;
    UsageBar* m_bar;
};

} // namespace dorvale
