#include "analysis/Recommendations.hpp"

#include "analysis/CardRows.hpp"
#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "widgets/ActivitySpinner.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/RowButton.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int symbolSize = 20;
constexpr int symbolColumn = 26;
constexpr qreal rowRadius = 10;
constexpr qreal rowFillOpacity = 0.08;
constexpr QMargins rowPadding{Theme::Space::medium, Theme::Space::medium, Theme::Space::medium,
                              Theme::Space::medium};

} // namespace

Recommendations::Recommendations(AppState& state, QWidget* parent)
    : Card(Theme::Space::large, parent)
    , m_state(state)
    , m_spinner(new ActivitySpinner)
    , m_empty(new WrappingLabel(tr("Nothing urgent. Nice work!")))
    , m_list(new QVBoxLayout) {
    setObjectName(QStringLiteral("recommendations"));
    m_spinner->setObjectName(QStringLiteral("junkSpinner"));
    m_spinner->setAccessibleName(tr("Looking for junk"));
    m_empty->setObjectName(QStringLiteral("nothingUrgent"));
    m_empty->setTone(Tone::Secondary);
    auto* header = new QHBoxLayout;
    header->addWidget(rowText(tr("Recommendations"), TextStyle::Headline), 1);
    header->addWidget(m_spinner);
    m_list->setContentsMargins(0, 0, 0, 0);
    m_list->setSpacing(Theme::Space::medium);
    contentLayout()->setSpacing(Theme::Space::medium);
    contentLayout()->addLayout(header);
    contentLayout()->addWidget(m_empty);
    contentLayout()->addLayout(m_list);
    contentLayout()->addStretch();
    rebuildRows();
    connect(&m_state, &AppState::junkChanged, this, &Recommendations::rebuildRows);
    connect(&m_state, &AppState::junkLoadingChanged, this, &Recommendations::showLoading);
}

void Recommendations::loadJunkIfNeeded() {
    if (!m_state.junk().empty() || m_state.junkLoading()) {
        return;
    }
    m_state.loadJunk();
}

// Only the card's own showing counts, not the window coming back from being minimised.
void Recommendations::showEvent(QShowEvent* event) {
    Card::showEvent(event);
    if (!event->spontaneous()) {
        loadJunkIfNeeded();
    }
}

void Recommendations::rebuildRows() {
    for (RowButton* row : m_rows) {
        row->hide();
        row->deleteLater();
    }
    m_rows.clear();
    m_recommendations =
        std::make_shared<const std::vector<Recommendation>>(m_state.buildRecommendations());
    for (std::size_t index = 0; index < m_recommendations->size(); ++index) {
        RowButton* row = makeRow(index);
        m_rows.push_back(row);
        m_list->addWidget(row);
    }
    showLoading();
}

RowButton* Recommendations::makeRow(std::size_t index) {
    const Recommendation& recommendation = (*m_recommendations)[index];
    const QString title = QString::fromStdString(recommendation.title);
    const QString detail = QString::fromStdString(recommendation.detail);
    const QString size = byteText(recommendation.size);
    const QColor tint = toQColor(recommendation.tint);
    auto* row = new RowButton(rowPadding, Theme::Space::medium, rowRadius);
    row->setObjectName(QStringLiteral("recommendation"));
    row->setProperty("recommendation", QString::fromStdString(recommendation.id));
    row->setFill(Theme::withOpacity(tint, rowFillOpacity));
    row->setAccessibleName(tr("%1, %2").arg(title, size));
    row->setAccessibleDescription(detail);

    auto* text = new WrappingLabel(detail);
    text->setObjectName(QStringLiteral("detail"));
    text->setTextStyle(TextStyle::Caption);
    text->setTone(Tone::Secondary);
    QHBoxLayout* layout = row->contentLayout();
    layout->addWidget(
        rowSymbol(QString::fromStdString(recommendation.symbol), symbolSize, symbolColumn, tint), 0,
        Qt::AlignTop);
    layout->addWidget(stackedLines(rowText(title, TextStyle::Callout, FontWeight::Semibold), text,
                                   Theme::Space::hairline),
                      1);
    layout->addWidget(rowFigure(size, TextStyle::Callout, FontWeight::Semibold), 0, Qt::AlignTop);
    connect(row, &RowButton::clicked, this,
            [this, list = m_recommendations, index] { m_state.perform((*list)[index].action); });
    return row;
}

void Recommendations::showLoading() {
    const bool loading = m_state.junkLoading();
    m_spinner->setVisible(loading);
    m_empty->setVisible(m_recommendations->empty() && !loading);
}

} // namespace dorvale
