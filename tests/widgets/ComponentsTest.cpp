#include "style/Theme.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/DestructiveButton.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/EmptyState.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/PrimaryButton.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/StatTile.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/SymbolLabel.hpp"

#include <QVBoxLayout>
#include <QtTest>

namespace dorvale {

class ComponentsTest : public QObject {
    Q_OBJECT

private slots:
    void riskBadges_data() {
        QTest::addColumn<int>("risk");
        QTest::addColumn<bool>("compact");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QMargins>("padding");
        QTest::addColumn<int>("backgroundAlpha");
        QTest::newRow("safe") << 0 << false << "Safe"
                              << "checkmark.shield.fill" << QMargins(7, 2, 7, 2) << 33;
        QTest::newRow("review") << 1 << false << "Review"
                                << "exclamationmark.triangle.fill" << QMargins(7, 2, 7, 2) << 33;
        QTest::newRow("protected") << 2 << false << "Protected"
                                   << "lock.fill" << QMargins(7, 2, 7, 2) << 33;
        QTest::newRow("compact review") << 1 << true << ""
                                        << "exclamationmark.triangle.fill" << QMargins() << 0;
        QTest::newRow("compact protected") << 2 << true << ""
                                           << "lock.fill" << QMargins() << 0;
    }

    void riskBadges() {
        QFETCH(int, risk);
        QFETCH(bool, compact);
        QFETCH(QString, text);
        QFETCH(QString, symbol);
        QFETCH(QMargins, padding);
        QFETCH(int, backgroundAlpha);
        const RiskBadge badge(*riskFromRaw(risk), compact ? BadgeForm::Compact : BadgeForm::Full);
        QCOMPARE(badge.text(), text);
        QCOMPARE(badge.property("symbol").toString(), symbol);
        QCOMPARE(badge.padding(), padding);
        QCOMPARE(badge.backgroundColor().alpha(), backgroundAlpha);
        // Both forms are named for assistive technology; the compact one by its tool tip too.
        const QString title = QString::fromUtf8(dorvale::title(*riskFromRaw(risk)).data());
        QCOMPARE(badge.accessibleName(), title);
        QCOMPARE(badge.toolTip(), compact ? title : QString());
        QCOMPARE(badge.font().weight(), QFont::DemiBold);
    }

    void aCompactBadgeIsOnlyItsSymbol() {
        const RiskBadge compact(Risk::Review, BadgeForm::Compact);
        const RiskBadge full(Risk::Review, BadgeForm::Full);
        QVERIFY(compact.sizeHint().width() < full.sizeHint().width());
        QVERIFY(compact.sizeHint().height() < full.sizeHint().height());
    }

    void aTileWithoutCaptionHasNoCaptionLine() {
        const StatTile tile(QStringLiteral("Free"), QStringLiteral("120 GB"), std::nullopt,
                            QStringLiteral("checkmark.circle.fill"), Theme::safe());
        QVERIFY(tile.captionLabel() == nullptr);
        QVERIFY(tile.findChild<ElidedLabel*>(QStringLiteral("caption")) == nullptr);
        QCOMPARE(tile.caption(), std::nullopt);
        QCOMPARE(tile.property("symbol").toString(), QStringLiteral("checkmark.circle.fill"));
        QCOMPARE(tile.findChild<SymbolIcon*>()->property("symbol").toString(),
                 QStringLiteral("checkmark.circle.fill"));
        QCOMPARE(tile.findChild<SymbolIcon*>()->color(), Theme::safe());
        QCOMPARE(tile.accessibleName(), QStringLiteral("Free: 120 GB"));
    }

    // Tiles side by side line up: a one-word caption and a long one take the same two lines.
    void aCaptionAlwaysTakesTwoLines() {
        StatTile shortCaption(QStringLiteral("Used"), QStringLiteral("1 TB"),
                              QStringLiteral("of 2 TB"), QStringLiteral("internaldrive.fill"),
                              Theme::accent());
        StatTile longCaption(QStringLiteral("Purgeable"), QStringLiteral("3 GB"),
                             QString(QStringLiteral("frees itself when needed ")).repeated(8),
                             QStringLiteral("icloud.and.arrow.down.fill"),
                             Theme::accentSecondary());
        const StatTile none(QStringLiteral("Free"), QStringLiteral("120 GB"), std::nullopt,
                            QStringLiteral("checkmark.circle.fill"), Theme::safe());
        shortCaption.resize(220, shortCaption.sizeHint().height());
        longCaption.resize(220, longCaption.sizeHint().height());
        ElidedLabel* caption = longCaption.captionLabel();
        const int line = QFontMetrics(caption->font()).lineSpacing();
        QCOMPARE(shortCaption.captionLabel()->sizeHint().height(), 2 * line);
        QCOMPARE(caption->sizeHint().height(), 2 * line);
        QCOMPARE(shortCaption.sizeHint().height(), longCaption.sizeHint().height());
        QVERIFY(none.sizeHint().height() < shortCaption.sizeHint().height());
        QCOMPARE(caption->visibleLines().size(), 2);
        QVERIFY(caption->visibleLines().last().endsWith(QStringLiteral("…")));
    }

    void aTileUpdatesItsValueAndCaption() {
        StatTile tile(QStringLiteral("Scanned"), QStringLiteral("1 GB"), std::nullopt,
                      QStringLiteral("magnifyingglass"), Theme::caution());
        tile.setValue(QStringLiteral("2 GB"));
        tile.setCaption(QStringLiteral("12 folders"));
        QCOMPARE(tile.value(), QStringLiteral("2 GB"));
        QCOMPARE(tile.caption(), std::optional(QStringLiteral("12 folders")));
        QCOMPARE(tile.accessibleName(), QStringLiteral("Scanned: 2 GB, 12 folders"));
        tile.setCaption(std::nullopt);
        QVERIFY(tile.captionLabel() == nullptr);
    }

    void aLongTextIsElidedNotWidened() {
        const QString name =
            QStringLiteral("a-very-long-file-name-").repeated(10) + QStringLiteral("end.mov");
        ElidedLabel right(name);
        right.resize(120, right.sizeHint().height());
        QVERIFY(right.isElided());
        QVERIFY(right.visibleLines().first().endsWith(QStringLiteral("…")));
        QVERIFY(right.minimumSizeHint().width() < 120);
        QCOMPARE(right.text(), name);

        ElidedLabel middle(name);
        middle.setElideMode(Qt::ElideMiddle);
        middle.resize(120, middle.sizeHint().height());
        QVERIFY(middle.visibleLines().first().endsWith(QStringLiteral("end.mov")));

        ElidedLabel fits(QStringLiteral("short"));
        fits.resize(fits.sizeHint());
        QVERIFY(!fits.isElided());
        QCOMPARE(fits.visibleLines(), QStringList{QStringLiteral("short")});
    }

    void aPageHeaderKeepsItsControlsWhateverItsTitle() {
        QWidget window;
        auto* header =
            new PageHeader(QStringLiteral("A page title far longer than the window is wide"),
                           QStringLiteral("And a subtitle that goes on and on and on and on"));
        auto* button = new PrimaryButton(QStringLiteral("Scan Again"));
        header->addTrailingWidget(button);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(header);
        window.resize(320, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(button->size(), button->sizeHint());
        QVERIFY(header->rect().contains(button->geometry()));
        QCOMPARE(header->title(),
                 QStringLiteral("A page title far longer than the window is wide"));
        QVERIFY(header->findChild<ElidedLabel*>(QStringLiteral("pageTitle"))->isElided());
    }

    void buttonSizes_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QMargins>("padding");
        QTest::addColumn<qreal>("fontScale");
        QTest::newRow("primary") << 0 << QMargins(14, 6, 14, 6) << 1.0;
        QTest::newRow("large primary") << 1 << QMargins(28, 12, 28, 12) << 1.15;
        QTest::newRow("destructive") << 2 << QMargins(14, 6, 14, 6) << 1.0;
    }

    void buttonSizes() {
        QFETCH(int, kind);
        QFETCH(QMargins, padding);
        QFETCH(qreal, fontScale);
        std::unique_ptr<CapsuleButton> button;
        if (kind == 2) {
            button = std::make_unique<DestructiveButton>(QStringLiteral("Delete"));
        } else {
            button = std::make_unique<PrimaryButton>(
                QStringLiteral("Clean"), kind == 1 ? ButtonSize::Large : ButtonSize::Regular);
        }
        QCOMPARE(button->padding(), padding);
        QCOMPARE(button->font().weight(), QFont::DemiBold);
        QCOMPARE(button->font().pointSizeF(), QApplication::font().pointSizeF() * fontScale);
        QCOMPARE(button->accessibleName(), QString());
        QCOMPARE(button->text(), kind == 2 ? QStringLiteral("Delete") : QStringLiteral("Clean"));
    }

    void aButtonCarriesItsSymbol() {
        PrimaryButton button(QStringLiteral("Clean 1 GB"), ButtonSize::Large);
        const QSize plain = button.sizeHint();
        button.setSymbol(QStringLiteral("sparkles"));
        QCOMPARE(button.property("symbol").toString(), QStringLiteral("sparkles"));
        QVERIFY(button.sizeHint().width() > plain.width());
    }

    void aButtonIsPressedFromTheKeyboard() {
        DestructiveButton button(QStringLiteral("Delete"));
        QSignalSpy clicked(&button, &QPushButton::clicked);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::keyClick(&button, Qt::Key_Space);
        QCOMPARE(clicked.count(), 1);
        button.setEnabled(false);
        QTest::keyClick(&button, Qt::Key_Space);
        QCOMPARE(clicked.count(), 1);
    }

    void anIconOnlyLabelNamesItselfByItsTitle() {
        SymbolLabel label(QStringLiteral("lock.fill"), QStringLiteral("Protected"),
                          LabelStyle::IconOnly);
        QVERIFY(label.label()->isHidden());
        QCOMPARE(label.toolTip(), QStringLiteral("Protected"));
        QCOMPARE(label.accessibleName(), QStringLiteral("Protected"));
        QCOMPARE(label.property("symbol").toString(), QStringLiteral("lock.fill"));
        label.setLabelStyle(LabelStyle::TitleAndIcon);
        QVERIFY(!label.label()->isHidden());
        QCOMPARE(label.toolTip(), QString());
    }

    // Icon-only, the tool tip is the button's name and follows it; with a label, the label
    // names it instead.
    void anIconButtonIsNamedByItsToolTipWhileItShowsNoText() {
        IconButton button(QStringLiteral("plus"), QStringLiteral("Add Folder…"));
        QCOMPARE(button.property("symbol").toString(), QStringLiteral("plus"));
        QVERIFY(!button.icon().isNull());
        QCOMPARE(button.toolTip(), QStringLiteral("Add Folder…"));
        QCOMPARE(button.accessibleName(), QStringLiteral("Add Folder…"));
        button.setToolTip(QStringLiteral("Add"));
        QCOMPARE(button.accessibleName(), QStringLiteral("Add"));
        button.setLabel(QStringLiteral("Scan"));
        QCOMPARE(button.toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(button.accessibleName(), QString());
        QCOMPARE(button.toolTip(), QStringLiteral("Add"));
        button.setLabel(QString());
        QCOMPARE(button.toolButtonStyle(), Qt::ToolButtonIconOnly);
        QCOMPARE(button.accessibleName(), QStringLiteral("Add"));
    }

    void anEmptyStateShowsItsSymbolAndMessage() {
        const EmptyState empty(QStringLiteral("doc.on.doc"),
                               QStringLiteral("Click “Find Duplicates” to get started."));
        QCOMPARE(empty.property("symbol").toString(), QStringLiteral("doc.on.doc"));
        QCOMPARE(empty.message(), QStringLiteral("Click “Find Duplicates” to get started."));
        QVERIFY(empty.findChild<SymbolIcon*>()->iconSize() > QFontMetrics(empty.font()).height());
    }
};

DORVALE_QT_TEST(ComponentsTest)

} // namespace dorvale

#include "ComponentsTest.moc"
