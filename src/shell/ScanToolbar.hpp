#pragma once

#include <QWidget>

class QPushButton;
class QStackedLayout;

namespace dorvale {

class AppState;
class ElidedLabel;
class IconButton;
class Throttle;

/// The scan controls of the window's toolbar. While no scan runs: one button that scans the
/// current target again ("Scan", or "Rescan" once a result exists), with a menu of targets:
/// the entire disk, the home folder, or a folder chosen in the folder picker. While a scan
/// runs: a spinner, the files and bytes counted so far, the path being read (cut in the
/// middle), and "Stop". Follows `AppState::isScanning`; keeps no state of its own.
class ScanToolbar : public QWidget {
    Q_OBJECT

public:
    explicit ScanToolbar(AppState& state, QWidget* parent = nullptr);

    /// Lets the user pick a folder and scans it; a cancelled picker changes nothing. A folder
    /// whose path holds a line feed is refused with a message: the settings keep folder
    /// lists one path per line, so such a folder could never be excluded or kept.
    void chooseFolder();

private:
    [[nodiscard]] QWidget* makeIdleForm();
    [[nodiscard]] QWidget* makeScanningForm();
    void showForm();
    void refreshButton();
    void showProgress();
    void refuseFolder();

    AppState& m_state;
    QStackedLayout* m_forms;
    IconButton* m_scanButton = nullptr;
    ElidedLabel* m_progressLine = nullptr;
    ElidedLabel* m_path = nullptr;
    QPushButton* m_stop = nullptr;
    QWidget* m_idleForm;
    QWidget* m_scanningForm;
    Throttle* m_progress;
};

} // namespace dorvale
