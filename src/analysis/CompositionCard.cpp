#include "analysis/CompositionCard.hpp"

#include "analysis/CardRows.hpp"
#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "platform/Formatters.hpp"
#include "widgets/DonutChart.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/RowButton.hpp"
#include "widgets/SegmentedBar.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int barHeight = 22;
constexpr int donutDiameter = 230;
constexpr int symbolSize = 16;
constexpr int symbolColumn = 22;
constexpr int sizeColumn = 84;
constexpr int chevronSize = 12;
constexpr int rowSpacing = Theme::Space::medium;
constexpr QMargins rowPadding{Theme::Space::small, Theme::Space::tight, Theme::Space::small,
                              Theme::Space::tight};
constexpr qreal rowRadius = 8;
constexpr qreal selectedFillOpacity = 0.1;
constexpr qreal otherSegmentOpacity = 0.5;
constexpr qreal otherSectorOpacity = 0.4;
const QString otherId = QStringLiteral("macos");

QString titleOf(StorageBucket bucket) {
    return QString::fromUtf8(title(bucket));
}

QString otherTitle() {
    return CompositionCard::tr("macOS and other");
}

std::vector<Segment> segmentsOf(const Composition& composition) {
    std::vector<Segment> segments;
    for (const auto& [bucket, bytes] : composition.entries) {
        segments.push_back({titleOf(bucket), titleOf(bucket), bytes, Theme::bucketColor(bucket)});
    }
    if (composition.otherBytes > 0) {
        segments.push_back(
            {otherId, otherTitle(), composition.otherBytes,
             Theme::withOpacity(Theme::bucketColor(StorageBucket::System), otherSegmentOpacity)});
    }
    return segments;
}

std::vector<DonutChart::Sector> sectorsOf(const Composition& composition) {
    std::vector<DonutChart::Sector> sectors;
    for (const auto& [bucket, bytes] : composition.entries) {
        sectors.push_back({.id = titleOf(bucket),
                           .title = titleOf(bucket),
                           .value = bytes,
                           .color = Theme::bucketColor(bucket)});
    }
    if (composition.otherBytes > 0) {
        sectors.push_back({.id = otherId,
                           .title = otherTitle(),
                           .value = composition.otherBytes,
                           .color = Theme::withOpacity(Theme::bucketColor(StorageBucket::System),
                                                       otherSectorOpacity),
                           .gradient = false,
                           .followsHighlight = false});
    }
    return sectors;
}

ElidedLabel* sizeFigure(std::int64_t bytes) {
    ElidedLabel* size = rowFigure(byteText(bytes), TextStyle::Callout, FontWeight::Semibold);
    size->setMinimumWidth(sizeColumn);
    return size;
}

} // namespace

CompositionCard::CompositionCard(AppState& state, QWidget* parent)
    : Card(Theme::Space::large, parent)
    , m_state(state)
    , m_bar(new SegmentedBar({}, 0, barHeight))
    , m_donut(new DonutChart(donutDiameter))
    , m_legend(new QVBoxLayout) {
    setObjectName(QStringLiteral("compositionCard"));
    m_bar->setObjectName(QStringLiteral("compositionBar"));
    m_donut->setObjectName(QStringLiteral("compositionDonut"));
    m_donut->setAccessibleName(tr("Where your space goes"));
    m_legend->setContentsMargins(0, 0, 0, 0);
    m_legend->setSpacing(Theme::Space::hairline);

    auto* chartRow = new QHBoxLayout;
    chartRow->setSpacing(Theme::Space::page);
    chartRow->addWidget(m_donut, 0, Qt::AlignVCenter);
    chartRow->addLayout(m_legend, 1);
    contentLayout()->setSpacing(Theme::Space::large);
    contentLayout()->addWidget(rowText(tr("Where your space goes"), TextStyle::Headline));
    contentLayout()->addWidget(m_bar);
    contentLayout()->addLayout(chartRow);
    refresh();
    connect(&m_state, &AppState::volumeChanged, this, &CompositionCard::refresh);
}

std::int64_t CompositionCard::macOSAndOtherBytes(const AppState& state) {
    return Composition::of(state).otherBytes;
}

void CompositionCard::hoverChanged(bool inside, StorageBucket bucket) {
    if (inside) {
        m_selected = bucket;
    } else if (m_selected == bucket) {
        m_selected.reset();
    }
    showSelection();
}

void CompositionCard::showCategory(StorageBucket bucket) {
    m_state.setLargeFilter(FileFilter{.bucket = bucket});
    m_state.setSection(AppSection::Large);
}

// Worked out again whenever the volume's figures change: they decide the share of "macOS
// and other" and what the bar's full width stands for.
void CompositionCard::refresh() {
    m_composition = Composition::of(m_state);
    if (m_selected && m_composition.bytesOf(*m_selected) == 0) {
        m_selected.reset();
    }
    m_bar->setSegments(segmentsOf(m_composition), m_composition.barTotal);
    m_donut->setSectors(sectorsOf(m_composition));
    rebuildLegend();
    showSelection();
}

void CompositionCard::rebuildLegend() {
    while (QLayoutItem* item = m_legend->takeAt(0)) {
        item->widget()->hide();
        item->widget()->deleteLater();
        delete item;
    }
    m_rows.clear();
    m_otherRow = nullptr;
    for (const auto& [bucket, bytes] : m_composition.entries) {
        RowButton* row = makeLegendRow(bucket, bytes);
        m_rows.push_back(row);
        m_legend->addWidget(row);
    }
    if (m_composition.otherBytes > 0) {
        m_otherRow = makeOtherRow();
        m_legend->addWidget(m_otherRow);
    }
}

RowButton* CompositionCard::makeLegendRow(StorageBucket bucket, std::int64_t bytes) {
    const QString percent = QString::fromStdString(percentText(bytes, m_composition.total));
    auto* row = new RowButton(rowPadding, rowSpacing, rowRadius);
    row->setObjectName(QStringLiteral("legendRow"));
    row->setProperty("bucket", static_cast<int>(bucket));
    row->setAccessibleName(tr("%1, %2, %3").arg(titleOf(bucket), percent, byteText(bytes)));
    row->setAccessibleDescription(QString::fromUtf8(detail(bucket)));
    QHBoxLayout* layout = row->contentLayout();
    layout->addWidget(rowSymbol(QString::fromUtf8(symbol(bucket)), symbolSize, symbolColumn,
                                Theme::bucketColor(bucket)));
    layout->addWidget(
        stackedLines(rowText(titleOf(bucket), TextStyle::Callout, FontWeight::Medium),
                     rowText(QString::fromUtf8(detail(bucket)), TextStyle::Caption,
                             FontWeight::StyleDefault, Digits::Proportional, Tone::Secondary),
                     0));
    layout->addWidget(
        rowFigure(percent, TextStyle::Caption, FontWeight::StyleDefault, Tone::Secondary));
    layout->addWidget(sizeFigure(bytes));
    layout->addWidget(rowSymbol(QStringLiteral("chevron.right"), chevronSize, chevronSize, QColor(),
                                Tone::Tertiary));
    connect(row, &RowButton::hoverChanged, this,
            [this, bucket](bool inside) { hoverChanged(inside, bucket); });
    connect(row, &RowButton::clicked, this, [this, bucket] { showCategory(bucket); });
    return row;
}

// Not a button: there is no list of what the volume uses beyond the scan. Its size ends
// where the sizes of the rows above do, before their chevrons.
QWidget* CompositionCard::makeOtherRow() const {
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("otherRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(rowPadding.left(), rowPadding.top(),
                               rowPadding.right() + rowSpacing + chevronSize, rowPadding.bottom());
    layout->setSpacing(rowSpacing);
    layout->addWidget(rowSymbol(QStringLiteral("apple.logo"), symbolSize, symbolColumn, QColor(),
                                Tone::Secondary));
    layout->addWidget(stackedLines(
        rowText(otherTitle(), TextStyle::Callout, FontWeight::Medium),
        rowText(tr("Sealed system volume, local snapshots and folders without access."),
                TextStyle::Caption, FontWeight::StyleDefault, Digits::Proportional,
                Tone::Secondary),
        0));
    layout->addWidget(sizeFigure(m_composition.otherBytes));
    return row;
}

void CompositionCard::showSelection() {
    const std::int64_t selectedBytes = m_selected ? m_composition.bytesOf(*m_selected) : 0;
    if (m_selected && selectedBytes > 0) {
        m_donut->setHighlighted(titleOf(*m_selected));
        m_donut->setCentre(byteText(selectedBytes), titleOf(*m_selected));
    } else {
        m_donut->setHighlighted(std::nullopt);
        m_donut->setCentre(byteText(m_composition.total), tr("Total"));
    }
    for (RowButton* row : m_rows) {
        const auto bucket = static_cast<StorageBucket>(row->property("bucket").toInt());
        row->setFill(m_selected == bucket
                         ? Theme::withOpacity(Theme::bucketColor(bucket), selectedFillOpacity)
                         : QColor());
    }
}

} // namespace dorvale
