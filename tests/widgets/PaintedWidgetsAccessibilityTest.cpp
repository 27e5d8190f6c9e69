#include "style/Theme.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ActivitySpinner.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/ScanningRing.hpp"
#include "widgets/SegmentedBar.hpp"
#include "widgets/SizeCell.hpp"

#include <QAccessible>
#include <QtTest>

#include <memory>

namespace dorvale {

namespace {

std::unique_ptr<QWidget> make(const QString& kind) {
    if (kind == QStringLiteral("segmented bar")) {
        return std::make_unique<SegmentedBar>(
            std::vector<Segment>{
                {QStringLiteral("video"), QStringLiteral("Video"), 2'000, Theme::blue()}},
            4'000, 8);
    }
    if (kind == QStringLiteral("activity spinner")) {
        return std::make_unique<ActivitySpinner>();
    }
    if (kind == QStringLiteral("scanning ring")) {
        return std::make_unique<ScanningRing>(QStringLiteral("12 files"), QStringLiteral("4 KB"));
    }
    if (kind == QStringLiteral("risk badge")) {
        return std::make_unique<RiskBadge>(Risk::Review, BadgeForm::Compact);
    }
    return std::make_unique<SizeCell>(1'500'000, 0.5, Theme::blue());
}

} // namespace

// Widgets that paint themselves tell assistive technology what they are and what they show.
class PaintedWidgetsAccessibilityTest final : public QObject {
    Q_OBJECT

private slots:
    void namesAndRoles_data() {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("segmented bar") << int(QAccessible::Chart) << "Composition";
        QTest::newRow("activity spinner") << int(QAccessible::Animation) << "In progress";
        QTest::newRow("scanning ring") << int(QAccessible::Animation) << "12 files";
        QTest::newRow("risk badge") << int(QAccessible::StaticText) << "Review";
        QTest::newRow("size cell") << int(QAccessible::StaticText) << "1.5 MB";
    }

    void namesAndRoles() {
        QFETCH(int, role);
        QFETCH(QString, name);
        const std::unique_ptr<QWidget> widget = make(QString::fromLatin1(QTest::currentDataTag()));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget.get());
        QVERIFY(face != nullptr);
        QCOMPARE(int(face->role()), role);
        QCOMPARE(face->text(QAccessible::Name), name);
    }
};

DORVALE_QT_TEST(PaintedWidgetsAccessibilityTest)

} // namespace dorvale

#include "PaintedWidgetsAccessibilityTest.moc"
