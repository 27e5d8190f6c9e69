#include "cleanup/FailuresCard.hpp"

#include "app/PathText.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int cardPadding = Theme::Space::large;
constexpr int rowSpacing = Theme::Space::snug;
constexpr int symbolSide = 14;

} // namespace

FailuresCard::FailuresCard(const Locations& locations, QWidget* parent)
    : Card(cardPadding, parent)
    , m_locations(locations)
    , m_rows(new QWidget) {
    setObjectName(QStringLiteral("failuresCard"));
    contentLayout()->setSpacing(rowSpacing);
    auto* heading = new ElidedLabel(tr("Couldn’t be deleted in the last operation"));
    heading->setObjectName(QStringLiteral("failuresHeading"));
    heading->setTextStyle(TextStyle::Headline);
    contentLayout()->addWidget(heading);
    auto* rows = new QVBoxLayout(m_rows);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(rowSpacing);
    contentLayout()->addWidget(m_rows);
    hide();
}

void FailuresCard::setFailures(const std::vector<DeletionFailure>& failures) {
    for (QWidget* row : m_rows->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        delete row;
    }
    const std::size_t shown = std::min(failures.size(), maximumShown);
    for (std::size_t i = 0; i < shown; ++i) {
        m_rows->layout()->addWidget(makeRow(failures[i]));
    }
    setVisible(!failures.empty());
}

QWidget* FailuresCard::makeRow(const DeletionFailure& failure) const {
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("failureRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::small);
    auto* symbol = new SymbolIcon(QStringLiteral("xmark.octagon.fill"), symbolSide);
    symbol->setColor(Theme::danger());
    layout->addWidget(symbol, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    auto* path = new ElidedLabel(shownPath(failure.path, m_locations));
    path->setObjectName(QStringLiteral("failurePath"));
    path->setElideMode(Qt::ElideMiddle);
    auto* reason = new ElidedLabel(QString::fromStdString(failure.reason));
    reason->setObjectName(QStringLiteral("failureReason"));
    reason->setTextStyle(TextStyle::Caption);
    reason->setTone(Tone::Secondary);
    texts->addWidget(path);
    texts->addWidget(reason);
    layout->addLayout(texts, 1);
    return row;
}

} // namespace dorvale
