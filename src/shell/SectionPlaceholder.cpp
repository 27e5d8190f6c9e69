#include "shell/SectionPlaceholder.hpp"

#include "common/ScanPage.hpp"
#include "style/Theme.hpp"
#include "widgets/PageHeader.hpp"

#include <QVBoxLayout>

namespace dorvale {

namespace {

QWidget* titled(AppSection section) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page,
                               Theme::Space::page);
    layout->addWidget(new PageHeader(title(section), {}));
    layout->addStretch();
    return page;
}

} // namespace

SectionPlaceholder::SectionPlaceholder(AppState& state, AppSection section, QWidget* parent)
    : AmbientBackground(parent) {
    setObjectName(QStringLiteral("sectionPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (const auto texts = ScanPrompt::textsFor(section)) {
        layout->addWidget(
            new ScanPage(state, *texts, [section](const auto&) { return titled(section); }));
    } else {
        layout->addWidget(titled(section));
    }
}

} // namespace dorvale
