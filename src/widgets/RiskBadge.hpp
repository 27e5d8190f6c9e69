#pragma once

#include "model/Risk.hpp"

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QWidget>

class QPainter;
class QStyleOptionViewItem;

namespace dorvale {

/// How a risk badge shows its risk.
enum class BadgeForm {
    /// The symbol and the risk's title on a tinted capsule.
    Full,
    /// The symbol alone, with no padding and no capsule; the tool tip names the risk.
    Compact,
};

/// How safe an item is to delete, as a small capsule in the risk's colour: a shield with a
/// checkmark for safe, a warning triangle for review, a lock for protected. The full form
/// shows the risk's title beside the symbol on a tinted capsule; the compact form shows the
/// symbol alone, with no padding and no capsule, and names the risk in its tool tip.
///
/// Tables paint the same badge in their cells through `paint` and `sizeFor`.
class RiskBadge : public QWidget {
    Q_OBJECT

public:
    explicit RiskBadge(Risk risk, BadgeForm form = BadgeForm::Full, QWidget* parent = nullptr);

    void setRisk(Risk risk);
    [[nodiscard]] Risk risk() const { return m_risk; }
    [[nodiscard]] BadgeForm form() const { return m_form; }
    [[nodiscard]] bool isCompact() const { return m_form == BadgeForm::Compact; }
    /// The title shown: the risk's title, empty when compact.
    [[nodiscard]] QString text() const;
    [[nodiscard]] QMargins padding() const { return padding(m_form); }
    /// The capsule's fill: the risk's colour faintly, transparent when compact.
    [[nodiscard]] QColor backgroundColor() const { return backgroundColor(m_risk, m_form); }

    /// The risk's title ("Safe", "Review", "Protected"), wherever a risk is named.
    [[nodiscard]] static QString riskTitle(Risk risk);
    [[nodiscard]] static QString symbolName(Risk risk);
    /// Caption type, semibold.
    [[nodiscard]] static QFont badgeFont();
    [[nodiscard]] static QMargins padding(BadgeForm form);
    [[nodiscard]] static QColor backgroundColor(Risk risk, BadgeForm form);
    /// The badge's size in the badge font.
    [[nodiscard]] static QSize sizeFor(Risk risk, BadgeForm form);
    /// Paints the badge in the badge font at the left of the cell, centred vertically; on a
    /// selected row in the highlighted text colour. It draws no focus: the view's delegate
    /// draws the cell's focus once.
    static void paint(QPainter& painter, const QStyleOptionViewItem& option, Risk risk,
                      BadgeForm form);

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void describe();

    Risk m_risk;
    BadgeForm m_form;
};

} // namespace dorvale
