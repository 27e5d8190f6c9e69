#include "cleanup/AppInspector.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "cleanup/SymbolNote.hpp"
#include "style/FileIcon.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/DestructiveButton.hpp"
#include "widgets/Divider.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/LegendDot.hpp"
#include "widgets/SegmentedBar.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int iconSize = 54;
constexpr int barHeight = 10;
constexpr int pathLines = 2;

ElidedLabel* label(const QString& text, TextStyle style, Tone tone, const char* name,
                   FontWeight weight = FontWeight::StyleDefault) {
    auto* label = new ElidedLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextStyle(style, weight);
    label->setTone(tone);
    return label;
}

WrappingLabel* note(const QString& text, TextStyle style, const char* name) {
    auto* note = new WrappingLabel(text);
    note->setObjectName(QString::fromLatin1(name));
    note->setTextStyle(style);
    note->setTone(Tone::Secondary);
    return note;
}

} // namespace

AppInspector::AppInspector(AppState& state, InstalledApp app, bool running, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_app(std::move(app)) {
    setObjectName(QStringLiteral("appInspector"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(Theme::Space::large);
    layout->addWidget(makeHeader());
    layout->addWidget(makeSpace());
    layout->addWidget(makeUninstall());
    layout->addWidget(makeDivider());
    layout->addWidget(
        label(tr("Related data"), TextStyle::Headline, Tone::Primary, "relatedTitle"));
    if (m_app.related.empty()) {
        layout->addWidget(note(tr("No data found outside the app."), TextStyle::Callout, "noData"));
    }
    for (const RelatedItem& item : m_app.related) {
        layout->addWidget(makeRelatedRow(item));
    }
    layout->addStretch(1);
    setRunning(running);
}

void AppInspector::setRunning(bool running) {
    if (m_uninstall != nullptr) {
        m_uninstall->setEnabled(!running);
        m_quitHint->setVisible(running);
    }
}

QWidget* AppInspector::makeHeader() {
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(Theme::Space::medium);
    row->addWidget(new FileIcon(m_app.path, iconSize));
    auto* names = new QVBoxLayout;
    names->setSpacing(Theme::Space::hairline);
    names->addWidget(label(QString::fromStdString(m_app.name), TextStyle::Title3, Tone::Primary,
                           "appName", FontWeight::Bold));
    // Selectable, so the identifier can be copied; it is cut rather than widening the pane.
    auto* identifier = new QLabel(QString::fromStdString(m_app.bundleID.value_or("")));
    identifier->setObjectName(QStringLiteral("bundleIdentifier"));
    Typography::apply(*identifier, TextStyle::Caption);
    QPalette palette = identifier->palette();
    palette.setColor(QPalette::WindowText, Theme::foreground(*this, Tone::Secondary));
    identifier->setPalette(palette);
    identifier->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    identifier->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    names->addWidget(identifier);
    row->addLayout(names, 1);
    return header;
}

// The bar and its legend: the bundle in blue, the data elsewhere in slate.
QWidget* AppInspector::makeSpace() {
    auto* space = new QWidget;
    auto* column = new QVBoxLayout(space);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(Theme::Space::small);
    const std::int64_t data = m_app.relatedSize();
    auto* bar = new SegmentedBar({{QStringLiteral("app"), tr("App"), m_app.appSize, Theme::blue()},
                                  {QStringLiteral("data"), tr("Data"), data, Theme::slate()}},
                                 std::max<std::int64_t>(1, m_app.appSize + data), barHeight);
    bar->setObjectName(QStringLiteral("spaceBar"));
    column->addWidget(bar);
    auto* legend = new QHBoxLayout;
    legend->setSpacing(Theme::Space::snug);
    legend->addWidget(new LegendDot(Theme::blue()));
    legend->addWidget(label(tr("App %1").arg(byteText(m_app.appSize)), TextStyle::Caption,
                            Tone::Primary, "appLegend"));
    legend->addSpacing(Theme::Space::small);
    legend->addWidget(new LegendDot(Theme::slate()));
    legend->addWidget(
        label(tr("Data %1").arg(byteText(data)), TextStyle::Caption, Tone::Primary, "dataLegend"));
    legend->addStretch(1);
    column->addLayout(legend);
    return space;
}

QWidget* AppInspector::makeUninstall() {
    if (m_app.isApple) {
        auto* notice =
            new SymbolNote(QStringLiteral("lock.fill"),
                           tr("Apple app: Dorvale doesn’t uninstall it."), TextStyle::Body);
        notice->setObjectName(QStringLiteral("appleNotice"));
        return notice;
    }
    auto* block = new QWidget;
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(Theme::Space::tight);
    m_uninstall = new DestructiveButton(tr("Uninstall Completely"));
    m_uninstall->setObjectName(QStringLiteral("uninstallButton"));
    m_uninstall->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_uninstall, &QPushButton::clicked, this, [this] { m_state.uninstall(m_app); });
    column->addWidget(m_uninstall);
    m_quitHint = note(tr("Quit the app to uninstall it."), TextStyle::Caption, "quitHint");
    column->addWidget(m_quitHint);
    return block;
}

QWidget* AppInspector::makeRelatedRow(const RelatedItem& item) {
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("relatedRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::small);
    auto* text = new QVBoxLayout;
    text->setSpacing(Theme::Space::hairline);
    text->addWidget(label(QString::fromStdString(item.label), TextStyle::Callout, Tone::Primary,
                          "relatedLabel", FontWeight::Medium));
    ElidedLabel* path = label(shownPath(item.path, m_state.services().locations),
                              TextStyle::Caption, Tone::Secondary, "relatedPath");
    path->setElideMode(Qt::ElideMiddle);
    path->setMaximumLines(pathLines);
    text->addWidget(path);
    layout->addLayout(text, 1);
    ElidedLabel* size =
        label(byteText(item.size), TextStyle::Callout, Tone::Primary, "relatedSize");
    size->setTextStyle(TextStyle::Callout, Digits::Tabular);
    size->setElideMode(Qt::ElideNone);
    layout->addWidget(size, 0, Qt::AlignTop);
    auto* reveal = new IconButton(QStringLiteral("magnifyingglass"), tr("Show in Finder"));
    reveal->setObjectName(QStringLiteral("revealButton"));
    reveal->setAutoRaise(true);
    connect(reveal, &QToolButton::clicked, this,
            [this, path = item.path] { m_state.services().workspace.reveal({path}); });
    layout->addWidget(reveal, 0, Qt::AlignTop);
    return row;
}

} // namespace dorvale
