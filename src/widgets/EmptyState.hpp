#pragma once

#include <QWidget>

namespace dorvale {

class ElidedLabel;
class SymbolIcon;

/// What a list shows while it has nothing to show: a large faint symbol with a short message
/// below it, centred in the space the list would take. Keeps the symbol's name in its
/// "symbol" property.
class EmptyState : public QWidget {
    Q_OBJECT

public:
    EmptyState(const QString& symbol, const QString& message, QWidget* parent = nullptr);

    void setMessage(const QString& message);
    [[nodiscard]] QString message() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitIconToFont();

    SymbolIcon* m_icon;
    ElidedLabel* m_message;
};

} // namespace dorvale
