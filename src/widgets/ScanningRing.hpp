#pragma once

#include <QString>
#include <QWidget>

namespace dorvale {

class TurnWhileShown;

/// A ring whose bright arc turns once every 1.1 seconds while it is on screen, around a large
/// line of progress (such as "1234 files") and a small line under it (the bytes so far). A
/// newly shown ring starts its turn from the right-hand side. Assistive technology reads the
/// two lines as its name and description.
class ScanningRing : public QWidget {
    Q_OBJECT

public:
    ScanningRing(const QString& progressText, const QString& detail, QWidget* parent = nullptr);

    void setTexts(const QString& progressText, const QString& detail);
    [[nodiscard]] QString progressText() const { return m_progressText; }
    [[nodiscard]] QString detail() const { return m_detail; }
    [[nodiscard]] bool isSpinning() const;

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintRing(QPainter& painter, const QRectF& circle) const;
    void paintTexts(QPainter& painter, const QRectF& circle) const;

    QString m_progressText;
    QString m_detail;
    TurnWhileShown* m_spin;
};

} // namespace dorvale
