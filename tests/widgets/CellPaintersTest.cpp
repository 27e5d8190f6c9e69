#include "style/Theme.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/SizeCell.hpp"

#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTreeView>
#include <QtTest>

#include <functional>

namespace dorvale {

namespace {

using CellPainter = std::function<void(QPainter&, const QStyleOptionViewItem&)>;

// A highlighted text colour that nothing else in a cell is drawn in.
const QColor highlightedText(0, 255, 0);

const CellPainter& painter(const QString& cell) {
    static const CellPainter badge = [](QPainter& painter, const QStyleOptionViewItem& option) {
        RiskBadge::paint(painter, option, Risk::Review, BadgeForm::Full);
    };
    static const CellPainter size = [](QPainter& painter, const QStyleOptionViewItem& option) {
        SizeCell::paint(painter, option, 1'500'000'000, 0.5, Theme::kindColor(FileKind::Video));
    };
    return cell == QStringLiteral("risk badge") ? badge : size;
}

// The cell as a view over `view` would paint it in a row in `state`.
QImage paintCell(const QString& cell, const QTreeView& view, QStyle::State state) {
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.font = view.font();
    option.rect = QRect(0, 0, 240, 24);
    option.state = QStyle::State_Enabled | QStyle::State_Active | state;
    option.palette.setColor(QPalette::HighlightedText, highlightedText);
    QImage image(option.rect.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    dorvale::painter(cell)(painter, option);
    return image;
}

bool holds(const QImage& image, const QColor& color) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == color.rgba()) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

// The risk badge and the size cell as a view's delegate paints them in a row.
class CellPaintersTest final : public QObject {
    Q_OBJECT

private slots:
    void cells_data() {
        QTest::addColumn<QString>("cell");
        QTest::newRow("risk badge") << QStringLiteral("risk badge");
        QTest::newRow("size cell") << QStringLiteral("size cell");
    }

    void cells() {
        QFETCH(QString, cell);
        const QTreeView view;
        const QImage plain = paintCell(cell, view, {});
        // A selected row draws in the highlighted text colour, an unselected one never.
        QVERIFY(holds(paintCell(cell, view, QStyle::State_Selected), highlightedText));
        QVERIFY(!holds(plain, highlightedText));
        // The cell's focus is the delegate's to draw, once for the row.
        QCOMPARE(paintCell(cell, view, QStyle::State_HasFocus), plain);
    }
};

DORVALE_QT_TEST(CellPaintersTest)

} // namespace dorvale

#include "CellPaintersTest.moc"
