#include "widgets/LoadingState.hpp"

#include "style/Theme.hpp"
#include "widgets/ActivitySpinner.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int spinnerSize = 24;

} // namespace

LoadingState::LoadingState(const QString& title, QWidget* parent)
    : QWidget(parent)
    , m_spinner(new ActivitySpinner(spinnerSize, this))
    , m_title(new ElidedLabel(title, this)) {
    m_spinner->setAccessibleName(title);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setTone(Tone::Secondary);
    m_title->setAlignment(Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(Theme::Space::small);
    layout->addStretch(1);
    layout->addWidget(m_spinner, 0, Qt::AlignHCenter);
    layout->addWidget(m_title);
    layout->addStretch(1);
}

QString LoadingState::title() const {
    return m_title->text();
}

} // namespace dorvale
