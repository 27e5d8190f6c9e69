#include "shell/SectionPlaceholder.hpp"

#include "app/AppState.hpp"
#include "common/ScanPrompt.hpp"
#include "style/Theme.hpp"
#include "widgets/PageHeader.hpp"

#include <QVBoxLayout>

namespace dorvale {

SectionPlaceholder::SectionPlaceholder(AppState& state, AppSection section, QWidget* parent)
    : AmbientBackground(parent)
    , m_state(state)
    , m_titled(new QWidget) {
    setObjectName(QStringLiteral("sectionPage"));
    auto* titled = new QVBoxLayout(m_titled);
    titled->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page,
                               Theme::Space::page);
    titled->addWidget(new PageHeader(title(section), {}));
    titled->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_titled);
    if (const auto texts = ScanPrompt::textsFor(section)) {
        m_prompt = new ScanPrompt(m_state, texts->title, texts->message);
        layout->addWidget(m_prompt);
        connect(&m_state, &AppState::scanChanged, this, &SectionPlaceholder::showPromptOrTitle);
    }
    showPromptOrTitle();
}

void SectionPlaceholder::showPromptOrTitle() {
    const bool prompting = m_prompt != nullptr && m_state.scan() == nullptr;
    m_titled->setVisible(!prompting);
    if (m_prompt != nullptr) {
        m_prompt->setVisible(prompting);
    }
}

} // namespace dorvale
