#include "shell/sheets/DeletionConfirmationSheet.hpp"

#include "app/RunInBackground.hpp"
#include "platform/Paths.hpp"
#include "shell/sheets/DeletionPlanModel.hpp"
#include "support/FileChecks.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/DestructiveButton.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

namespace dorvale {

namespace {

using test::exists;
using test::ShellFixture;

const QString trashNotice = QStringLiteral(
    "They'll go to the Trash (regenerable caches are deleted directly). You can undo this from "
    "History.");
const QString permanentNotice =
    QStringLiteral("These will be deleted permanently. They can't be recovered.");

// A state with a plan to confirm, and the sheet open over a window for it.
struct SheetFixture {
    SheetFixture() { f.makeState(); }

    // A plan item for a file or folder of the fixture, with the verdict the policy gives it.
    PlanItem item(const std::string& path, std::int64_t size) {
        return PlanItem{PlanCandidate{.path = path,
                                      .name = std::string(lastComponent(path)),
                                      .size = size,
                                      .removal = Removal::Trash},
                        f.fixture.safety.verdict(path)};
    }
    // A file in the Downloads folder, which the policy calls safe.
    PlanItem safe(const std::string& name, std::int64_t size) {
        return item(f.fixture.tree.allocatedFile("Users/a/Downloads/" + name, 4'096), size);
    }
    // A file in a folder of the user's own, which needs review.
    PlanItem review(const std::string& name, std::int64_t size) {
        return item(f.fixture.tree.allocatedFile("Users/a/Projects/" + name, 4'096), size);
    }
    // A folder of the home that is never deleted.
    PlanItem locked(const std::string& name) {
        return item(f.fixture.tree.folder("Users/a/" + name), 1'000);
    }

    DeletionConfirmationSheet& open(std::vector<PlanItem> items) {
        f.state->requestDeletion(QStringLiteral("Delete Things"), std::move(items));
        f.show(new QWidget);
        sheet = new DeletionConfirmationSheet(*f.state, *f.state->plan(), f.window.get());
        sheet->open();
        return *sheet;
    }

    template <typename T>
    T* child(const char* name) const {
        T* found = sheet->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("No child %s", name);
        }
        return found;
    }

    QPushButton* deleteButton() const { return child<QPushButton>("deleteButton"); }
    QString total() const { return child<ElidedLabel>("totalLabel")->text(); }
    QString notice() const { return child<WrappingLabel>("removalNotice")->text(); }

    // Sends Return where the keyboard is: the sheet's focused control, or the sheet.
    void pressReturn(bool autoRepeat = false) const {
        QWidget* target = sheet->focusWidget() != nullptr ? sheet->focusWidget() : sheet;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), autoRepeat);
        QCoreApplication::sendEvent(target, &press);
    }

    // Lets every deletion run end and publish.
    static void settle() {
        QVERIFY(workerPool().waitForDone(30'000));
        QCoreApplication::sendPostedEvents();
    }

    ShellFixture f;
    DeletionConfirmationSheet* sheet = nullptr;
};

std::vector<qreal> opacities(const DeletionPlanModel& model) {
    std::vector<qreal> result;
    for (int row = 0; row < model.rowCount(); ++row) {
        result.push_back(model.index(row).data(DeletionPlanModel::OpacityRole).toReal());
    }
    return result;
}

} // namespace

class DeletionConfirmationSheetTest : public QObject {
    Q_OBJECT

private slots:
    void theListGroupsThePlanBySafetyWithAHeaderPerGroup() {
        SheetFixture s;
        const PlanItem first = s.safe("a.zip", 2'000);
        const PlanItem kept = s.locked("Documents");
        const PlanItem second = s.safe("b.zip", 3'000);
        const PlanItem doubtful = s.review("c.txt", 500);
        DeletionConfirmationSheet& sheet = s.open({first, kept, second, doubtful});
        DeletionPlanModel& model = *sheet.model();
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setPlan(s.f.state->plan().value());

        const QStringList expected = {"Safe",  "a.zip",     "b.zip",    "Review",
                                      "c.txt", "Protected", "Documents"};
        QStringList shown;
        for (int row = 0; row < model.rowCount(); ++row) {
            shown.append(model.index(row).data().toString());
        }
        QCOMPARE(shown, expected);
        QCOMPARE(model.index(0).data(DeletionPlanModel::DetailRole).toString(),
                 QString("2 · 5 KB"));
        QCOMPARE(model.index(1).data(DeletionPlanModel::DetailRole).toString(), QString("2 KB"));
        QCOMPARE(model.index(2).data(DeletionPlanModel::PathRole).toString(),
                 QString("~/Downloads/b.zip"));
        QCOMPARE(model.index(6).data(DeletionPlanModel::ReasonRole).toString(),
                 QString::fromStdString(kept.verdict.reason));
        QVERIFY(model.index(3).data(DeletionPlanModel::IsHeaderRole).toBool());
        // Headers stand out in full; protected rows are dimmed, review rows until accepted.
        QCOMPARE(opacities(model), (std::vector<qreal>{1, 1, 1, 1, 0.55, 1, 0.55}));
        QVERIFY(model.index(6).data(Qt::AccessibleTextRole).toString().startsWith("Documents, "));

        QVERIFY(s.child<QWidget>("reviewAcknowledgement")->isVisible());
        QCOMPARE(s.child<WrappingLabel>("protectedNoticeText")->text(),
                 QString("1 protected item(s) won’t be touched."));
        QCOMPARE(s.total(), QString("Total: 5 KB"));
        QCOMPARE(sheet.windowTitle(), QString("Delete Things"));
        QCOMPARE(s.child<ElidedLabel>("deletionSheetTitle")->text(), QString("Delete Things"));
    }

    void onlyProtectedItemsCanOnlyBeCancelled_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("closing the window") << 2;
    }

    void onlyProtectedItemsCanOnlyBeCancelled() {
        QFETCH(int, way);
        SheetFixture s;
        const PlanItem kept = s.locked("Documents");
        DeletionConfirmationSheet& sheet = s.open({kept});
        QVERIFY(!s.child<QWidget>("reviewAcknowledgement")->isVisible());
        QVERIFY(s.child<QWidget>("protectedNotice")->isVisible());
        QCOMPARE(s.total(), QString("Total: Zero KB"));
        QVERIFY(!s.deleteButton()->isEnabled());
        s.pressReturn();
        QVERIFY(s.f.state->plan().has_value());

        QSignalSpy toast(s.f.state.get(), &AppState::toastChanged);
        const std::vector<std::function<void()>> cancel = {
            [&] { QTest::mouseClick(s.child<QPushButton>("cancelButton"), Qt::LeftButton); },
            [&] { QTest::keyClick(&sheet, Qt::Key_Escape); },
            [&] { sheet.close(); },
        };
        cancel[static_cast<std::size_t>(way)]();
        QVERIFY(!s.f.state->plan().has_value());
        QVERIFY(!sheet.isVisible());
        SheetFixture::settle();
        QCOMPARE(toast.count(), 0);
        QVERIFY(s.f.state->history().entries().empty());
        QVERIFY(exists(kept.path));
    }

    void reviewItemsWaitForTheAcknowledgement() {
        SheetFixture s;
        const PlanItem first = s.review("a.txt", 1'000'000);
        const PlanItem second = s.review("b.txt", 2'500'000);
        DeletionConfirmationSheet& sheet = s.open({first, second});
        QCOMPARE(
            s.child<QLabel>("reviewAcknowledgementText")->text(),
            QString("I’ve reviewed the 2 item(s) marked <b>Review</b> and want to delete them"));
        auto* box = s.child<QCheckBox>("reviewAcknowledgement");
        QCOMPARE(box->accessibleName(),
                 QString("I’ve reviewed the 2 item(s) marked Review and want to delete them"));
        QVERIFY(!box->isChecked());
        QVERIFY(!s.deleteButton()->isEnabled());
        QCOMPARE(s.total(), QString("Total: Zero KB"));
        QCOMPARE(opacities(*sheet.model()), (std::vector<qreal>{1, 0.55, 0.55}));

        // The text toggles the box as a check box's own text would, and the view hears that
        // the review rows' dimming changed.
        QSignalSpy changed(sheet.model(), &QAbstractItemModel::dataChanged);
        QTest::mouseClick(s.child<QLabel>("reviewAcknowledgementText"), Qt::LeftButton);
        QVERIFY(box->isChecked());
        QCOMPARE(changed.count(), 1);
        QVERIFY(changed[0][0].toModelIndex().row() <= 1 && changed[0][1].toModelIndex().row() >= 2);
        QVERIFY(s.deleteButton()->isEnabled());
        QCOMPARE(s.total(), QString("Total: 3.5 MB"));
        QCOMPARE(opacities(*sheet.model()), (std::vector<qreal>{1, 1, 1}));

        QSignalSpy toast(s.f.state.get(), &AppState::toastChanged);
        QTest::mouseClick(s.deleteButton(), Qt::LeftButton);
        QVERIFY(toast.wait());
        QVERIFY(!exists(first.path));
        QVERIFY(!exists(second.path));
    }

    void theNoticeAndTheButtonFollowPermanentDeletion() {
        SheetFixture s;
        s.f.fixture.settings.setBool("permanentDelete", true);
        s.open({s.safe("a.zip", 1'000)});
        QCOMPARE(s.deleteButton()->text(), QString("Delete Permanently"));
        QCOMPARE(s.notice(), permanentNotice);

        s.f.state->setPermanentDelete(false);
        QCOMPARE(s.deleteButton()->text(), QString("Delete"));
        QCOMPARE(s.notice(), trashNotice);
        s.f.state->setPermanentDelete(true);
        QCOMPARE(s.deleteButton()->text(), QString("Delete Permanently"));
        QCOMPARE(s.notice(), permanentNotice);
    }

    void oneConfirmationDeletesOnce_data() {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("held Return") << false;
        QTest::newRow("double click") << true;
    }

    void oneConfirmationDeletesOnce() {
        QFETCH(bool, doubleClick);
        SheetFixture s;
        const PlanItem file = s.safe("a.zip", 1'000'000);
        DeletionConfirmationSheet& sheet = s.open({file});
        QSignalSpy toast(s.f.state.get(), &AppState::toastChanged);
        QSignalSpy finished(&sheet, &QDialog::finished);
        if (doubleClick) {
            // The second press of a double click comes as a double-click event.
            QTest::mouseClick(s.deleteButton(), Qt::LeftButton);
            QTest::mouseDClick(s.deleteButton(), Qt::LeftButton);
            QTest::mouseRelease(s.deleteButton(), Qt::LeftButton);
        } else {
            s.pressReturn();
            s.pressReturn(true);
            s.pressReturn(true);
        }
        QVERIFY(!s.deleteButton()->isEnabled());
        QVERIFY(!s.child<QPushButton>("cancelButton")->isEnabled());
        QVERIFY(!s.f.state->plan().has_value());
        QVERIFY(!sheet.isVisible());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.front().front().toInt(), int(QDialog::Accepted));
        QVERIFY(toast.wait());
        SheetFixture::settle();
        QCOMPARE(toast.count(), 1);
        QCOMPARE(s.f.state->history().entries().size(), std::size_t{1});
        QVERIFY(!exists(file.path));
    }

    void theSheetFollowsTheStatesPlan() {
        SheetFixture s;
        DeletionConfirmationSheet& sheet = s.open({s.review("a.txt", 1'000)});
        s.child<QCheckBox>("reviewAcknowledgement")->click();
        QVERIFY(sheet.model()->reviewAccepted());

        // A new plan takes the shown one's place, acknowledgement off again.
        s.f.state->requestDeletion(QStringLiteral("Uninstall Tool"),
                                   {s.review("b.txt", 2'000), s.review("c.txt", 2'000)});
        QVERIFY(sheet.isVisible());
        QCOMPARE(sheet.plan().id, s.f.state->plan()->id);
        QCOMPARE(sheet.windowTitle(), QString("Uninstall Tool"));
        QVERIFY(!s.child<QCheckBox>("reviewAcknowledgement")->isChecked());
        QVERIFY(!sheet.model()->reviewAccepted());
        QVERIFY(!s.deleteButton()->isEnabled());
        QCOMPARE(sheet.model()->rowCount(), 3);

        // No plan closes it, and closing then leaves the state alone.
        QSignalSpy planChanged(s.f.state.get(), &AppState::planChanged);
        s.f.state->setPlan(std::nullopt);
        QVERIFY(!sheet.isVisible());
        QCOMPARE(planChanged.count(), 1);
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
    }
};

DORVALE_QT_TEST(DeletionConfirmationSheetTest)

} // namespace dorvale

#include "DeletionConfirmationSheetTest.moc"
