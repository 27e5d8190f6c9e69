#pragma once

#include <QColor>
#include <QWidget>

namespace dorvale {

/// One reassurance of the smart clean's start page: a symbol in its tint and a short line in
/// the secondary colour, on a capsule faintly filled with the tint.
class Promise : public QWidget {
    Q_OBJECT

public:
    Promise(const QString& symbol, const QString& title, const QColor& tint,
            QWidget* parent = nullptr);

    [[nodiscard]] QString title() const;
    [[nodiscard]] QColor tint() const { return m_tint; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_tint;
    QString m_title;
};

} // namespace dorvale
