#pragma once

#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QLabel>
#include <QStringList>

namespace dorvale {

/// A plain-text label that never widens its layout: text that does not fit is cut with "…"
/// (at the end or in the middle, for paths), and the full text shows as a tool tip. With
/// more than one line the text wraps and the last line is cut (at its end, or in its middle
/// for paths); the height of every line is always reserved, so rows of labels line up
/// whatever their texts.
///
/// The full text stays the label's `text()`, which is also what assistive technology reads.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(const QString& text = {}, QWidget* parent = nullptr);

    /// Where text that does not fit is cut; `Qt::ElideNone` keeps the text whole and makes
    /// the label as wide as its text at least, for short figures that must stay readable.
    void setElideMode(Qt::TextElideMode mode);
    [[nodiscard]] Qt::TextElideMode elideMode() const { return m_elideMode; }
    /// At most `lines` lines (at least 1), all of them reserved.
    void setMaximumLines(int lines);
    [[nodiscard]] int maximumLines() const { return m_maximumLines; }
    /// Text colour strength; the colour follows the palette.
    void setTone(Tone tone);
    [[nodiscard]] Tone tone() const { return m_tone; }
    /// Sets the text's style (`Typography::apply`).
    void setTextStyle(TextStyle style, FontWeight weight = FontWeight::StyleDefault,
                      Digits digits = Digits::Proportional);
    void setTextStyle(TextStyle style, Digits digits);

    /// The lines as they are drawn at the current width.
    [[nodiscard]] QStringList visibleLines() const;
    /// Whether the drawn text is shorter than the full text.
    [[nodiscard]] bool isElided() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Lines {
        QStringList lines;
        bool elided = false;
    };
    [[nodiscard]] Lines linesFor(int width) const;
    [[nodiscard]] int reservedHeight() const;

    Qt::TextElideMode m_elideMode = Qt::ElideRight;
    int m_maximumLines = 1;
    Tone m_tone = Tone::Primary;
};

} // namespace dorvale
