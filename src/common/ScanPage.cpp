#include "common/ScanPage.hpp"

#include "app/AppState.hpp"

#include <QVBoxLayout>

#include <utility>

namespace dorvale {

ScanPage::ScanPage(AppState& state, const ScanPrompt::Texts& texts, ContentFactory content,
                   QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_makeContent(std::move(content))
    , m_prompt(new ScanPrompt(state, texts.title, texts.message)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_prompt);
    rebuild();
    connect(&m_state, &AppState::scanChanged, this, &ScanPage::rebuild);
}

void ScanPage::rebuild() {
    if (m_content != nullptr) {
        m_content->hide();
        m_content->deleteLater();
        m_content = nullptr;
    }
    std::shared_ptr<const ScanResult> scan = m_state.scan();
    m_prompt->setVisible(scan == nullptr);
    if (scan != nullptr) {
        m_content = m_makeContent(std::move(scan));
        layout()->addWidget(m_content);
        m_content->show();
    }
}

} // namespace dorvale
