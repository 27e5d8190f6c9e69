#include "shell/settings/SettingsSection.hpp"

#include "style/Theme.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QFormLayout>
#include <QVBoxLayout>

namespace dorvale {

SettingsSection::SettingsSection(QWidget* parent)
    : Card(Theme::Space::large, parent)
    , m_form(new QFormLayout) {
    m_form->setContentsMargins(0, 0, 0, 0);
    m_form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    m_form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    contentLayout()->addLayout(m_form);
}

WrappingLabel* SettingsSection::addNote(const QString& text) {
    WrappingLabel* label = note(text);
    m_form->addRow(label);
    return label;
}

WrappingLabel* SettingsSection::note(const QString& text) {
    auto* label = new WrappingLabel(text);
    label->setTextStyle(TextStyle::Caption);
    label->setTone(Tone::Secondary);
    return label;
}

} // namespace dorvale
