#include "shell/tray/MenuBarPanel.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "platform/Formatters.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/DiskRing.hpp"
#include "widgets/Divider.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/LinkButton.hpp"
#include "widgets/PrimaryButton.hpp"
#include "widgets/SymbolLabel.hpp"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int panelWidth = 290;
constexpr int ringSide = 54;

} // namespace

MenuBarPanel::MenuBarPanel(AppState& state, QWidget* parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_state(state)
    , m_background(state.background())
    , m_autoClean(new SymbolLabel(QStringLiteral("calendar.badge.clock"), QString())) {
    setObjectName(QStringLiteral("menuBarPanel"));
    setAccessibleName(QStringLiteral("Dorvale"));
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(panelWidth);
    m_autoClean->setObjectName(QStringLiteral("autoCleanLine"));
    Typography::apply(*m_autoClean, TextStyle::Caption);
    m_autoClean->setTone(Tone::Secondary);

    auto* quickClean = new PrimaryButton(tr("Quick Clean…"));
    quickClean->setObjectName(QStringLiteral("quickCleanButton"));
    quickClean->setSymbol(QStringLiteral("wand.and.stars"));
    quickClean->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(quickClean, &QPushButton::clicked, this, &MenuBarPanel::quickClean);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Theme::Space::large, Theme::Space::large, Theme::Space::large,
                               Theme::Space::large);
    layout->setSpacing(Theme::Space::large);
    layout->addWidget(makeVolumeRow());
    layout->addWidget(m_autoClean);
    layout->addWidget(makeDivider());
    layout->addWidget(quickClean);
    layout->addWidget(makeButtons());

    refresh();
    connect(&m_state, &AppState::volumeChanged, this, &MenuBarPanel::refresh);
    connect(&m_background, &BackgroundServices::lastAutoCleanChanged, this, &MenuBarPanel::refresh);
    connect(&m_background, &BackgroundServices::lastAutoCleanBytesChanged, this,
            &MenuBarPanel::refresh);
}

QWidget* MenuBarPanel::makeVolumeRow() {
    m_volumeRow = new QWidget;
    m_volumeRow->setObjectName(QStringLiteral("volumeRow"));
    m_name = new ElidedLabel;
    m_name->setObjectName(QStringLiteral("volumeName"));
    m_name->setTextStyle(TextStyle::Headline);
    m_free = new ElidedLabel;
    m_free->setObjectName(QStringLiteral("volumeFree"));
    m_free->setTextStyle(TextStyle::Callout, Digits::Tabular);
    m_purgeable = new ElidedLabel;
    m_purgeable->setObjectName(QStringLiteral("volumePurgeable"));
    m_purgeable->setTextStyle(TextStyle::Caption);
    m_purgeable->setTone(Tone::Secondary);

    auto* lines = new QVBoxLayout;
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(Theme::Space::hairline);
    lines->addWidget(m_name);
    lines->addWidget(m_free);
    lines->addWidget(m_purgeable);
    auto* layout = new QHBoxLayout(m_volumeRow);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::large);
    layout->addWidget(makeRing(), 0, Qt::AlignVCenter);
    layout->addLayout(lines, 1);
    return m_volumeRow;
}

// The percentage sits over the ring's middle: both share one cell of a grid.
QWidget* MenuBarPanel::makeRing() {
    auto* frame = new QWidget;
    frame->setFixedSize(ringSide, ringSide);
    m_ring = new DiskRing;
    m_ring->setObjectName(QStringLiteral("diskRing"));
    m_ring->setAccessibleName(tr("Used space"));
    m_percent = new QLabel;
    m_percent->setObjectName(QStringLiteral("ringPercent"));
    Typography::apply(*m_percent, TextStyle::Caption2, FontWeight::Bold, Digits::Tabular);
    m_percent->setAlignment(Qt::AlignCenter);
    auto* layout = new QGridLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_ring, 0, 0);
    layout->addWidget(m_percent, 0, 0);
    return frame;
}

QWidget* MenuBarPanel::makeButtons() {
    auto* row = new QWidget;
    auto* open = new LinkButton(tr("Open Dorvale"));
    open->setObjectName(QStringLiteral("openButton"));
    connect(open, &QPushButton::clicked, this, [this] {
        hide();
        emit openRequested();
    });
    auto* quit = new LinkButton(tr("Quit"));
    quit->setObjectName(QStringLiteral("quitButton"));
    connect(quit, &QPushButton::clicked, this, [this] {
        hide();
        emit quitRequested();
    });
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(open, 0, Qt::AlignVCenter);
    layout->addStretch();
    layout->addWidget(quit, 0, Qt::AlignVCenter);
    return row;
}

void MenuBarPanel::popUp(const QRect& anchor) {
    appear();
    place(anchor);
    show();
    raise();
    activateWindow();
}

void MenuBarPanel::appear() {
    m_state.refreshVolume();
    m_background.checkLowSpace();
    m_background.checkSchedule();
}

// The width is fixed; the height follows the rows shown.
void MenuBarPanel::refresh() {
    refreshVolume();
    refreshAutoClean();
    adjustSize();
}

void MenuBarPanel::refreshVolume() {
    const std::optional<VolumeInfo>& volume = m_state.volume();
    m_volumeRow->setVisible(volume.has_value());
    if (!volume) {
        return;
    }
    const std::int64_t used = volume->total - volume->available;
    const std::int64_t purgeable = volume->availableForImportantUsage - volume->available;
    m_ring->setUsage(used, volume->total);
    m_percent->setText(QString::fromStdString(percentText(used, volume->total)));
    // The volume's label is the user's own text: shown as it is, never translated.
    m_name->setText(QString::fromStdString(volume->name));
    m_free->setText(tr("%1 free of %2").arg(byteText(volume->available), byteText(volume->total)));
    m_purgeable->setText(tr("+ %1 purgeable").arg(byteText(purgeable)));
    m_purgeable->setVisible(purgeable >= 1);
}

void MenuBarPanel::refreshAutoClean() {
    const std::optional<Timestamp> last = m_background.lastAutoClean();
    m_autoClean->setVisible(last.has_value());
    if (!last) {
        return;
    }
    const QString when = QString::fromStdString(relativeText(*last, m_state.services().clock));
    m_autoClean->setTitle(
        tr("Auto-clean %1: %2").arg(when, byteText(m_background.lastAutoCleanBytes())));
}

// The smart clean shows from its scanning stage in the main window; the user reviews and
// confirms there, so nothing is deleted from here.
void MenuBarPanel::quickClean() {
    m_state.startSmartClean();
    hide();
    emit openRequested();
}

void MenuBarPanel::place(const QRect& anchor) {
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area =
        screen != nullptr ? screen->availableGeometry() : QRect(anchor.topLeft(), size());
    QPoint at(anchor.left(), anchor.bottom() + 1);
    if (at.y() + height() > area.bottom() + 1) {
        at.setY(anchor.top() - height());
    }
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height())));
    move(at);
}

} // namespace dorvale
