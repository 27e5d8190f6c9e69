#include "analysis/FilterBar.hpp"

#include "analysis/KindChip.hpp"
#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int rowSpacing = 10;
constexpr int chipSpacing = 6;
constexpr int searchLeast = 200;
constexpr int searchMost = 380;
constexpr int pathLeast = 240;
constexpr int categoryEntries = 2; // "All categories" and the divider

// A rounded, faintly filled panel behind the controls laid out in it.
class RoundedPanel : public QWidget {
public:
    RoundedPanel(qreal radius, QColor fill)
        : m_radius(radius)
        , m_fill(std::move(fill)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_fill.isValid()
                             ? m_fill
                             : Theme::withOpacity(Theme::foreground(*this, Tone::Primary), 0.05));
        const qreal radius = m_radius < 0 ? height() / 2.0 : m_radius;
        painter.drawRoundedRect(QRectF(rect()), radius, radius);
    }

private:
    qreal m_radius;
    QColor m_fill;
};

QComboBox* menu(const char* name, const QString& accessibleName) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

FilterBar::FilterBar(Binding binding, Options options, const Locations& locations, QWidget* parent)
    : QWidget(parent)
    , m_binding(std::move(binding))
    , m_options(std::move(options))
    , m_locations(locations) {
    setObjectName(QStringLiteral("filterBar"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(rowSpacing);
    layout->addWidget(makeFirstRow());
    layout->addWidget(makeSecondRow());
    sync();
}

std::vector<FilterBar::SizeOption> FilterBar::fileSizeOptions() {
    constexpr std::int64_t mebibyte = 1024 * 1024;
    return {
        {tr("Any size"), 0},
        {QStringLiteral("> 1 MB"), mebibyte},
        {QStringLiteral("> 10 MB"), 10 * mebibyte},
        {QStringLiteral("> 100 MB"), 100 * mebibyte},
        {QStringLiteral("> 500 MB"), 500 * mebibyte},
        {QStringLiteral("> 1 GB"), 1024 * mebibyte},
        {QStringLiteral("> 5 GB"), 5 * 1024 * mebibyte},
    };
}

std::vector<FilterBar::AgeOption> FilterBar::fileAgeOptions() {
    return {
        {tr("Any date"), std::nullopt}, {tr("Unchanged > 1 month"), 30}, {tr("> 3 months"), 90},
        {tr("> 6 months"), 180},        {tr("> 1 year"), 365},           {tr("> 2 years"), 730},
    };
}

QWidget* FilterBar::makeFirstRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(rowSpacing);
    layout->addWidget(makeSearchField(), 1);
    m_size = menu("sizeMenu", tr("Size"));
    for (const SizeOption& option : m_options.sizeOptions) {
        m_size->addItem(option.label);
    }
    connect(m_size, &QComboBox::activated, this, [this](int index) {
        edit([&](FileFilter& filter) {
            filter.minSize = m_options.sizeOptions[static_cast<std::size_t>(index)].bytes;
        });
    });
    layout->addWidget(m_size);
    m_age = menu("ageMenu", tr("Age"));
    for (const AgeOption& option : m_options.ageOptions) {
        m_age->addItem(option.label);
    }
    connect(m_age, &QComboBox::activated, this, [this](int index) {
        edit([&](FileFilter& filter) {
            filter.modifiedOlderThanDays =
                m_options.ageOptions[static_cast<std::size_t>(index)].days;
        });
    });
    layout->addWidget(m_age);
    if (m_options.showBucket) {
        m_category = menu("categoryMenu", tr("Category"));
        m_category->addItem(tr("All categories"));
        m_category->insertSeparator(1);
        for (const StorageBucket bucket : allStorageBuckets) {
            const std::string_view text = title(bucket);
            m_category->addItem(
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        }
        connect(m_category, &QComboBox::activated, this, [this](int index) {
            edit([&](FileFilter& filter) {
                filter.bucket =
                    index < categoryEntries
                        ? std::nullopt
                        : std::optional(
                              allStorageBuckets[static_cast<std::size_t>(index - categoryEntries)]);
            });
        });
        layout->addWidget(m_category);
    }
    layout->addStretch(0);
    return row;
}

QWidget* FilterBar::makeSearchField() {
    auto* field = new RoundedPanel(8, {});
    field->setObjectName(QStringLiteral("searchField"));
    field->setMinimumWidth(searchLeast);
    field->setMaximumWidth(searchMost);
    auto* layout = new QHBoxLayout(field);
    layout->setContentsMargins(rowSpacing, Theme::Space::snug, rowSpacing, Theme::Space::snug);
    layout->setSpacing(Theme::Space::snug);
    auto* glass =
        new SymbolIcon(QStringLiteral("magnifyingglass"), QFontMetrics(font()).ascent(), field);
    glass->setTone(Tone::Secondary);
    layout->addWidget(glass);
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("searchEdit"));
    m_search->setFrame(false);
    m_search->setPlaceholderText(tr("Search by name (use / to search paths)"));
    m_search->setAccessibleName(tr("Search"));
    m_search->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    connect(m_search, &QLineEdit::textEdited, this, [this](const QString& text) {
        edit([&](FileFilter& filter) { filter.query = utf8(text); });
    });
    layout->addWidget(m_search, 1);
    m_clearSearch = new IconButton(QStringLiteral("xmark.circle.fill"), tr("Clear Search"));
    m_clearSearch->setObjectName(QStringLiteral("clearSearchButton"));
    connect(m_clearSearch, &QAbstractButton::clicked, this,
            [this] { edit([](FileFilter& filter) { filter.query.clear(); }); });
    layout->addWidget(m_clearSearch);
    return field;
}

QWidget* FilterBar::makeSecondRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(rowSpacing);
    if (m_options.showKinds) {
        layout->addWidget(makeKindChips(), 1);
    }
    layout->addWidget(makePathChip());
    layout->addStretch(m_options.showKinds ? 0 : 1);
    m_summary = new ElidedLabel;
    m_summary->setObjectName(QStringLiteral("resultSummary"));
    m_summary->setTextStyle(TextStyle::Callout, Digits::Tabular);
    m_summary->setTone(Tone::Secondary);
    m_summary->setElideMode(Qt::ElideNone);
    layout->addWidget(m_summary);
    if (m_options.showExport) {
        m_export = new QPushButton(Symbols::icon(u"square.and.arrow.up"), tr("CSV"));
        m_export->setObjectName(QStringLiteral("exportButton"));
        m_export->setToolTip(tr("Export to CSV"));
        connect(m_export, &QPushButton::clicked, this, &FilterBar::exportRequested);
        layout->addWidget(m_export);
    }
    return row;
}

QWidget* FilterBar::makeKindChips() {
    auto* chips = new QWidget;
    chips->setObjectName(QStringLiteral("kindChips"));
    auto* layout = new QHBoxLayout(chips);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(chipSpacing);
    for (const FileKind kind : allFileKinds) {
        auto* chip = new KindChip(kind);
        chip->setObjectName(QStringLiteral("kindChip%1").arg(static_cast<int>(kind)));
        connect(chip, &QAbstractButton::clicked, this, [this, kind] {
            edit([kind](FileFilter& filter) {
                if (!filter.kinds.erase(kind)) {
                    filter.kinds.insert(kind);
                }
            });
        });
        m_chips.push_back(chip);
        layout->addWidget(chip);
    }
    layout->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("kindChipScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(chips);
    scroll->setFixedHeight(chips->sizeHint().height());
    // The chips take what the path chip and the summary leave, and scroll when that is less.
    scroll->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    scroll->viewport()->setAutoFillBackground(false);
    chips->setAutoFillBackground(false);
    return scroll;
}

QWidget* FilterBar::makePathChip() {
    m_pathChip = new RoundedPanel(-1, Theme::withOpacity(Theme::accent(), 0.12));
    m_pathChip->setObjectName(QStringLiteral("pathChip"));
    m_pathChip->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(m_pathChip);
    layout->setContentsMargins(Theme::Space::small, Theme::Space::tight, Theme::Space::small,
                               Theme::Space::tight);
    layout->setSpacing(Theme::Space::tight);
    const QFont caption = Typography::font(TextStyle::Caption);
    layout->addWidget(new SymbolIcon(QStringLiteral("folder"), QFontMetrics(caption).ascent()));
    m_pathLabel = new ElidedLabel;
    m_pathLabel->setObjectName(QStringLiteral("pathPrefix"));
    m_pathLabel->setTextStyle(TextStyle::Caption);
    m_pathLabel->setElideMode(Qt::ElideMiddle);
    layout->addWidget(m_pathLabel, 1);
    auto* clear = new IconButton(QStringLiteral("xmark"), tr("Clear Folder"));
    clear->setObjectName(QStringLiteral("clearPathButton"));
    connect(clear, &QAbstractButton::clicked, this,
            [this] { edit([](FileFilter& filter) { filter.pathPrefix.reset(); }); });
    layout->addWidget(clear);
    return m_pathChip;
}

void FilterBar::edit(const std::function<void(FileFilter&)>& change) {
    FileFilter filter = m_binding.read();
    change(filter);
    m_binding.write(std::move(filter));
    sync();
}

void FilterBar::sync() {
    const FileFilter filter = m_binding.read();
    const QString query =
        QString::fromUtf8(filter.query.data(), static_cast<qsizetype>(filter.query.size()));
    if (m_search->text() != query) {
        const QSignalBlocker blocker(m_search);
        m_search->setText(query);
    }
    m_clearSearch->setVisible(!filter.query.empty());
    syncMenus(filter);
    for (KindChip* chip : m_chips) {
        const QSignalBlocker blocker(chip);
        chip->setChecked(filter.kinds.contains(chip->kind()));
    }
    m_pathChip->setVisible(filter.pathPrefix.has_value());
    m_pathLabel->setText(filter.pathPrefix ? shownPath(*filter.pathPrefix, m_locations)
                                           : QString());
    // A long folder is elided in the middle, a short one shown whole.
    m_pathLabel->setMinimumWidth(
        std::min(Typography::textWidth(m_pathLabel->font(), m_pathLabel->text()), pathLeast));
    m_pathChip->layout()->invalidate();
    m_pathChip->updateGeometry();
    m_pathLabel->setToolTip(filter.pathPrefix ? pathText(*filter.pathPrefix) : QString());
}

// Each menu shows the entry equal to the filter's value, or none when no entry is.
void FilterBar::syncMenus(const FileFilter& filter) {
    const auto select = [](QComboBox* box, const auto& options, const auto& matches) {
        const QSignalBlocker blocker(box);
        const auto found = std::find_if(options.begin(), options.end(), matches);
        box->setCurrentIndex(found == options.end() ? -1 : int(found - options.begin()));
    };
    select(m_size, m_options.sizeOptions,
           [&](const SizeOption& option) { return option.bytes == filter.minSize; });
    select(m_age, m_options.ageOptions,
           [&](const AgeOption& option) { return option.days == filter.modifiedOlderThanDays; });
    if (m_category != nullptr) {
        const QSignalBlocker blocker(m_category);
        const auto place = filter.bucket ? std::find(allStorageBuckets.begin(),
                                                     allStorageBuckets.end(), *filter.bucket) -
                                               allStorageBuckets.begin() + categoryEntries
                                         : 0;
        m_category->setCurrentIndex(int(place));
    }
}

void FilterBar::setResult(std::int64_t count, std::int64_t size) {
    m_summary->setText(
        tr("%1 files · %2")
            .arg(QLocale().toString(qint64{count}), byteText(std::max<std::int64_t>(size, 0))));
}

} // namespace dorvale
