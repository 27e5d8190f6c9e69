#pragma once

#include <QWidget>

namespace dorvale {

/// One line of large text filled with the accent gradient, centred, such as the figure a
/// page is built around. Assistive technology reads the text as the label's name.
class GradientLabel : public QWidget {
    Q_OBJECT

public:
    explicit GradientLabel(const QString& text = {}, QWidget* parent = nullptr);

    void setText(const QString& text);
    [[nodiscard]] QString text() const { return m_text; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

} // namespace dorvale
