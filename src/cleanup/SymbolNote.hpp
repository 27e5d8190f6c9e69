#pragma once

#include "style/Typography.hpp"

#include <QWidget>

namespace dorvale {

class WrappingLabel;

/// A symbol before a note in the secondary colour that wraps onto as many lines as the width
/// needs: the explanations above a list and the notices of a pane. Keeps the symbol's name
/// in its "symbol" property; the note's text names it for assistive technology.
class SymbolNote : public QWidget {
    Q_OBJECT

public:
    SymbolNote(const QString& symbol, const QString& text, TextStyle style,
               QWidget* parent = nullptr);

    [[nodiscard]] QString text() const;

private:
    WrappingLabel* m_text;
};

} // namespace dorvale
