#include "cleanup/SystemDataView.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/RunInBackground.hpp"
#include "cleanup/HeldWork.hpp"
#include "cleanup/RefreshButton.hpp"
#include "inventory/ScanLookup.hpp"
#include "platform/Formatters.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/Card.hpp"
#include "widgets/Divider.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/StatTile.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/UsageBar.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QFile>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int cardPadding = 18;
constexpr int sectionSpacing = 20;
constexpr int symbolColumn = 28;
constexpr qreal dividerOpacity = 0.4;

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
    Typography::apply(*label, TextStyle::Headline);
    return label;
}

WrappingLabel* caption(const QString& text, TextStyle style = TextStyle::Caption) {
    auto* label = new WrappingLabel(text);
    label->setTextStyle(style);
    label->setTone(Tone::Secondary);
    return label;
}

// Empties a layout of rows, deleting their widgets later: a click on one of them may still
// be on its way.
void clearRows(QVBoxLayout& rows) {
    while (QLayoutItem* item = rows.takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
}

QWidget* fadedDivider() {
    QFrame* divider = makeDivider();
    auto* faded = new QGraphicsOpacityEffect(divider);
    faded->setOpacity(dividerOpacity);
    divider->setGraphicsEffect(faded);
    return divider;
}

QWidget* makeTitleLine(const SystemDataPart& part) {
    auto* title = new ElidedLabel(QString::fromStdString(part.title));
    title->setObjectName(QStringLiteral("partTitle"));
    title->setTextStyle(TextStyle::Callout, FontWeight::Semibold);
    auto* size = new ElidedLabel(byteText(part.size));
    size->setObjectName(QStringLiteral("partSize"));
    size->setTextStyle(TextStyle::Callout, FontWeight::Semibold, Digits::Tabular);
    size->setElideMode(Qt::ElideNone);
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(new RiskBadge(part.risk, BadgeForm::Compact));
    layout->addStretch(1);
    layout->addWidget(size);
    return line;
}

} // namespace

SystemDataView::SystemDataView(AppState& state, QWidget* parent)
    : AmbientBackground(parent)
    , m_state(state) {
    setObjectName(QStringLiteral("systemDataPage"));
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page,
                               Theme::Space::page);
    layout->setSpacing(sectionSpacing);
    layout->addWidget(makeHeader());
    layout->addWidget(makeSummary());
    layout->addWidget(makeComponentsCard());
    layout->addWidget(makeSnapshotsCard());
    layout->addStretch();

    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("systemDataScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->viewport()->setAutoFillBackground(false);
    column->setAutoFillBackground(false);
    scroll->setWidget(column);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(scroll);

    connect(&m_state, &AppState::volumeChanged, this, &SystemDataView::showSummary);
    showSummary();
    showParts();
    showSnapshots();
    refreshControls();
}

QWidget* SystemDataView::makeHeader() {
    auto* header = new PageHeader(tr("System Data"),
                                  tr("What macOS lumps together as “System Data” in Storage "
                                     "settings, explained piece by piece."));
    header->setObjectName(QStringLiteral("pageHeader"));
    m_refresh = makeRefreshButton();
    connect(m_refresh, &QAbstractButton::clicked, this, &SystemDataView::load);
    header->addTrailingWidget(m_refresh);
    return header;
}

QWidget* SystemDataView::makeSummary() {
    m_purgeable =
        new StatTile(tr("Purgeable"), {}, tr("macOS frees this on its own when space runs low."),
                     QStringLiteral("icloud.and.arrow.down.fill"), Theme::accentSecondary());
    m_purgeable->setObjectName(QStringLiteral("purgeableTile"));
    m_snapshotCount =
        new StatTile(tr("Local snapshots"), {}, tr("Time Machine copies kept on this disk."),
                     QStringLiteral("clock.arrow.circlepath"), Theme::caution());
    m_snapshotCount->setObjectName(QStringLiteral("snapshotsTile"));
    m_measured = new StatTile(tr("Measured here"), {}, tr("Sum of the components below."),
                              QStringLiteral("gearshape.2.fill"), Theme::graphite());
    m_measured->setObjectName(QStringLiteral("measuredTile"));
    m_summary = new QWidget;
    m_summary->setObjectName(QStringLiteral("summaryRow"));
    auto* layout = new QHBoxLayout(m_summary);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    for (StatTile* tile : {m_purgeable, m_snapshotCount, m_measured}) {
        layout->addWidget(tile, 1);
    }
    return m_summary;
}

Card* SystemDataView::makeComponentsCard() {
    auto* card = new Card(cardPadding);
    card->setObjectName(QStringLiteral("componentsCard"));
    QVBoxLayout* layout = card->contentLayout();
    layout->setSpacing(Theme::Space::medium);
    layout->addWidget(heading(tr("Components")));
    m_measuring = new QProgressBar;
    m_measuring->setObjectName(QStringLiteral("measuringIndicator"));
    m_measuring->setRange(0, 0);
    m_measuring->setTextVisible(false);
    m_measuring->setAccessibleName(tr("Measuring"));
    layout->addWidget(m_measuring);
    m_partRows = new QVBoxLayout;
    m_partRows->setSpacing(Theme::Space::medium);
    layout->addLayout(m_partRows);
    return card;
}

Card* SystemDataView::makeSnapshotsCard() {
    auto* card = new Card(cardPadding);
    card->setObjectName(QStringLiteral("snapshotsCard"));
    QVBoxLayout* layout = card->contentLayout();
    layout->setSpacing(10);
    layout->addWidget(heading(tr("Time Machine local snapshots")));
    layout->addWidget(caption(
        tr("macOS keeps hourly snapshots on your disk while your backup drive is away and "
           "removes them automatically when space is needed or after 24 hours. Deleting one "
           "by hand frees its space right away; your backups on the external drive are not "
           "affected.")));
    m_message = caption({});
    m_message->setObjectName(QStringLiteral("snapshotMessage"));
    m_message->setColor(Theme::caution());
    layout->addWidget(m_message);
    m_noSnapshots = caption(tr("No local snapshots on this disk."), TextStyle::Callout);
    m_noSnapshots->setObjectName(QStringLiteral("noSnapshotsText"));
    layout->addWidget(m_noSnapshots);
    m_snapshotRows = new QVBoxLayout;
    m_snapshotRows->setSpacing(Theme::Space::small);
    layout->addLayout(m_snapshotRows);
    return card;
}

QWidget* SystemDataView::makePartRow(const SystemDataPart& part, std::int64_t largest) {
    auto* symbol = new SymbolIcon(QString::fromStdString(part.symbol), 20);
    symbol->setAccentGradient(true);
    symbol->setFixedWidth(symbolColumn);
    auto* bar = new UsageBar;
    bar->setObjectName(QStringLiteral("partBar"));
    bar->setTint(Theme::accent());
    bar->setFraction(static_cast<double>(part.size) / static_cast<double>(largest));
    bar->setAccessibleName(QString::fromStdString(part.title));
    auto* advice = caption(QString::fromStdString(part.advice));
    advice->setColor(Theme::accent());
    auto* text = new QVBoxLayout;
    text->setSpacing(Theme::Space::tight);
    text->addWidget(makeTitleLine(part));
    text->addWidget(bar);
    text->addWidget(caption(QString::fromStdString(part.explanation)));
    text->addWidget(advice);

    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("partRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::medium);
    layout->addWidget(symbol, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    if (part.path) {
        auto* reveal = new IconButton(QStringLiteral("magnifyingglass"), tr("Show in Finder"));
        reveal->setObjectName(QStringLiteral("revealButton"));
        reveal->setAutoRaise(true);
        connect(reveal, &QAbstractButton::clicked, this,
                [this, path = *part.path] { m_state.services().workspace.reveal({path}); });
        layout->addWidget(reveal, 0, Qt::AlignTop);
    }
    return row;
}

QWidget* SystemDataView::makeSnapshotRow(const LocalSnapshot& snapshot) {
    auto* symbol = new SymbolIcon(QStringLiteral("clock.arrow.circlepath"), 16);
    symbol->setTone(Tone::Secondary);
    auto* name = new ElidedLabel(
        QString::fromStdString(snapshot.date ? shortDateTimeText(*snapshot.date) : snapshot.name));
    name->setObjectName(QStringLiteral("snapshotName"));
    auto* remove = new QPushButton(tr("Delete…"));
    remove->setObjectName(QStringLiteral("deleteSnapshotButton"));
    remove->setAutoDefault(false);
    remove->setEnabled(!m_deleting);
    connect(remove, &QPushButton::clicked, this, [this, snapshot] { deleteSnapshot(snapshot); });

    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("snapshotRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(symbol);
    layout->addWidget(name, 1);
    layout->addWidget(remove);
    return row;
}

void SystemDataView::showEvent(QShowEvent* event) {
    AmbientBackground::showEvent(event);
    if (m_parts.empty() && !m_loading) {
        load();
    }
}

// The sizes the last scan already knows, looked up here on the GUI thread, which owns the
// tree; the worker gets only the numbers.
std::vector<std::optional<std::int64_t>> SystemDataView::scannedSizes() const {
    const std::shared_ptr<const ScanResult> scan = m_state.scan();
    const std::string dataVolume = m_state.services().locations.dataVolume;
    return SystemDataPart::lookUpSizes([&](const MatchingPath& path) -> const FileNode* {
        return scan ? nodeFromLastScan(*scan, path, dataVolume) : nullptr;
    });
}

void SystemDataView::load() {
    if (m_loading) {
        return;
    }
    m_loading = true;
    m_loadJobsLeft = 2;
    m_listed.reset();
    refreshControls();
    runInBackground(this,
                    afterHold(m_beforeWork,
                              [locations = m_state.services().locations, sizes = scannedSizes()] {
                                  return SystemDataPart::measure(locations, sizes);
                              }),
                    [this](std::vector<SystemDataPart> parts) {
                        m_parts = std::move(parts);
                        showParts();
                        finishLoadJob();
                    });
    listSnapshots([this](std::vector<LocalSnapshot> snapshots) {
        m_listed = std::move(snapshots);
        finishLoadJob();
    });
}

// The snapshots are shown once the pieces are: the listing usually ends first.
void SystemDataView::finishLoadJob() {
    if (--m_loadJobsLeft > 0) {
        return;
    }
    m_snapshots = std::move(*m_listed);
    m_listed.reset();
    m_loading = false;
    showSnapshots();
    refreshControls();
    emit loaded();
}

void SystemDataView::listSnapshots(std::function<void(std::vector<LocalSnapshot>)> then) {
    runInBackground(this,
                    afterHold(m_beforeWork,
                              [&processes = m_state.services().processes] {
                                  return LocalSnapshots::list(processes);
                              }),
                    std::move(then));
}

void SystemDataView::deleteSnapshot(const LocalSnapshot& snapshot) {
    if (m_deleting) {
        return;
    }
    m_deleting = true;
    refreshControls();
    runInBackground(this,
                    afterHold(m_beforeWork,
                              [snapshot, &administrator = m_state.services().administrator] {
                                  return LocalSnapshots::deleteSnapshot(snapshot, administrator);
                              }),
                    [this](std::optional<std::string> failure) {
                        m_snapshotMessage = failure
                                                ? std::optional(QString::fromStdString(*failure))
                                                : std::nullopt;
                        showSnapshots();
                        listSnapshots([this](std::vector<LocalSnapshot> snapshots) {
                            m_snapshots = std::move(snapshots);
                            m_deleting = false;
                            showSnapshots();
                            refreshControls();
                            m_state.refreshVolume();
                            emit snapshotDeleted();
                        });
                    });
}

void SystemDataView::showSummary() {
    const std::optional<VolumeInfo>& volume = m_state.volume();
    m_summary->setVisible(volume.has_value());
    if (volume) {
        m_purgeable->setValue(byteText(
            std::max<std::int64_t>(0, volume->availableForImportantUsage - volume->available)));
    }
    m_snapshotCount->setValue(QString::number(m_snapshots.size()));
    std::int64_t measured = 0;
    for (const SystemDataPart& part : m_parts) {
        measured += part.size;
    }
    m_measured->setValue(byteText(measured));
}

void SystemDataView::showParts() {
    clearRows(*m_partRows);
    const std::int64_t largest =
        std::max<std::int64_t>(m_parts.empty() ? 1 : m_parts.front().size, 1);
    for (const SystemDataPart& part : m_parts) {
        m_partRows->addWidget(makePartRow(part, largest));
        m_partRows->addWidget(fadedDivider());
    }
    showSummary();
}

void SystemDataView::showSnapshots() {
    m_message->setVisible(m_snapshotMessage.has_value());
    m_message->setText(m_snapshotMessage.value_or(QString()));
    m_noSnapshots->setVisible(m_snapshots.empty());
    clearRows(*m_snapshotRows);
    for (const LocalSnapshot& snapshot : m_snapshots) {
        m_snapshotRows->addWidget(makeSnapshotRow(snapshot));
    }
    showSummary();
}

void SystemDataView::refreshControls() {
    m_refresh->setEnabled(!m_loading);
    m_measuring->setVisible(m_loading && m_parts.empty());
    for (QPushButton* button : findChildren<QPushButton*>(QStringLiteral("deleteSnapshotButton"))) {
        button->setEnabled(!m_deleting);
    }
}

} // namespace dorvale
