#include "widgets/PageHeader.hpp"

#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QGridLayout>
#include <QHBoxLayout>

namespace dorvale {

PageHeader::PageHeader(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent)
    , m_title(new ElidedLabel(title, this))
    , m_subtitle(new ElidedLabel(subtitle, this))
    , m_trailing(new QHBoxLayout) {
    m_title->setObjectName(QStringLiteral("pageTitle"));
    m_title->setTextStyle(TextStyle::PageTitle);
    m_subtitle->setObjectName(QStringLiteral("pageSubtitle"));
    m_subtitle->setTone(Tone::Secondary);
    m_trailing->setSpacing(Theme::Space::small);

    // The controls share the title's row and centre on it, which keeps them level with the
    // title's text whatever the height of the subtitle.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(Theme::Space::tight);
    layout->addWidget(m_title, 0, 0);
    layout->addWidget(m_subtitle, 1, 0);
    layout->addLayout(m_trailing, 0, 1, Qt::AlignRight | Qt::AlignVCenter);
    layout->setColumnStretch(0, 1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void PageHeader::setTitle(const QString& title) {
    m_title->setText(title);
}

QString PageHeader::title() const {
    return m_title->text();
}

void PageHeader::setSubtitle(const QString& subtitle) {
    m_subtitle->setText(subtitle);
}

QString PageHeader::subtitle() const {
    return m_subtitle->text();
}

void PageHeader::addTrailingWidget(QWidget* widget) {
    m_trailing->addWidget(widget);
}

} // namespace dorvale
