#pragma once

#include "widgets/Card.hpp"

class QFormLayout;

namespace dorvale {

class WrappingLabel;

/// One group of a settings form: rows of labels and controls on a card, the labels aligned
/// in a column at the left, as the desktop's grouped forms show them.
class SettingsSection : public Card {
    Q_OBJECT

public:
    explicit SettingsSection(QWidget* parent = nullptr);

    [[nodiscard]] QFormLayout* form() const { return m_form; }
    /// Adds a row of small secondary text that explains the row above it.
    WrappingLabel* addNote(const QString& text);

    /// Small secondary text that wraps, for explanations beside settings.
    [[nodiscard]] static WrappingLabel* note(const QString& text);

private:
    QFormLayout* m_form;
};

} // namespace dorvale
