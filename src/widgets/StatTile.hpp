#pragma once

#include "widgets/Card.hpp"

#include <QColor>
#include <QString>

#include <optional>

namespace dorvale {

class ElidedLabel;
class SymbolLabel;

/// A small statistic on a card: a tinted symbol with the title, the value in large figures,
/// and an optional caption below. A caption always takes the height of two lines, so tiles
/// side by side line up whatever their captions say; a tile without one has no caption line.
class StatTile : public Card {
    Q_OBJECT

public:
    StatTile(const QString& title, const QString& value, const std::optional<QString>& caption,
             const QString& symbol, const QColor& tint, QWidget* parent = nullptr);

    void setValue(const QString& value);
    [[nodiscard]] QString value() const;
    void setCaption(const std::optional<QString>& caption);
    [[nodiscard]] std::optional<QString> caption() const;
    [[nodiscard]] QString title() const;

    /// The caption's line, null while the tile has no caption.
    [[nodiscard]] ElidedLabel* captionLabel() const { return m_caption; }

private:
    void describe();

    SymbolLabel* m_header;
    ElidedLabel* m_value;
    ElidedLabel* m_caption = nullptr;
};

} // namespace dorvale
