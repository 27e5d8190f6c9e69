#include "shell/RootView.hpp"
#include "shell/ToastView.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QAccessible>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;

Toast toast(const QString& message, std::optional<QString> detail = std::nullopt) {
    return Toast{.message = message, .detail = std::move(detail)};
}

struct Window {
    explicit Window(ShellFixture& f)
        : state(f.makeState())
        , root(f.show(new RootView(state), {1040, 680})) {}

    [[nodiscard]] QString message() const {
        return root->toastView()->findChild<ElidedLabel*>(QStringLiteral("toastMessage"))->text();
    }

    AppState& state;
    RootView* root;
};

} // namespace

class ToastTest : public QObject {
    Q_OBJECT

private slots:
    void aToastShowsAtTheFootOfThePage() {
        ShellFixture f;
        Window w(f);
        QVERIFY(w.root->toastView() == nullptr);
        w.state.setToast(
            toast(QStringLiteral("Moved 3 items to the Trash"), QStringLiteral("1.2 GB freed")));
        ToastView* view = w.root->toastView();
        QVERIFY(view != nullptr && view->isVisible());
        QCOMPARE(w.message(), QStringLiteral("Moved 3 items to the Trash"));
        QCOMPARE(view->findChild<ElidedLabel*>(QStringLiteral("toastDetail"))->text(),
                 QStringLiteral("1.2 GB freed"));
        // Once in place, the panel sits 20 pixels above the page column's foot, centred.
        view->place();
        const QWidget* detail = view->parentWidget();
        const QRect panel = view->panelGeometry().translated(view->pos());
        QCOMPARE(detail->height() - 1 - panel.bottom(), 20);
        QVERIFY(std::abs(panel.center().x() - detail->width() / 2) <= 1);
    }

    // The toast is a notification to assistive technology, named by its message.
    void aToastIsANotificationToAssistiveTechnology() {
        ShellFixture f;
        Window w(f);
        w.state.setToast(
            toast(QStringLiteral("Moved 3 items to the Trash"), QStringLiteral("1.2 GB freed")));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w.root->toastView());
        QCOMPARE(face->role(), QAccessible::Notification);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Moved 3 items to the Trash"));
        QCOMPARE(face->text(QAccessible::Description), QStringLiteral("1.2 GB freed"));
    }

    void aToastWithoutDetailOrEntriesShowsNeither() {
        ShellFixture f;
        Window w(f);
        w.state.setToast(toast(QStringLiteral("Nothing was deleted")));
        QVERIFY(w.root->toastView()->findChild<ElidedLabel*>(QStringLiteral("toastDetail")) ==
                nullptr);
        QVERIFY(w.root->toastView()->findChild<QPushButton*>(QStringLiteral("undoButton")) ==
                nullptr);
    }

    // Through the real deletion road and Trash: the deletion's toast offers Undo, which puts
    // the file back, and the restore's own toast takes its place.
    void undoPutsTheItemsBackAndItsToastTakesThePlace() {
        ShellFixture f;
        Window w(f);
        const std::string file = f.fixture.tree.file("Users/a/Desktop/note.txt", "hello");
        w.state.runDeletion({DeletionRequest{.path = file, .confirmedRisk = Risk::Review}}, false);
        QTRY_VERIFY(w.state.toast().has_value());
        QVERIFY(!QFileInfo::exists(QString::fromStdString(file)));
        QPointer<ToastView> deletion = w.root->toastView();
        auto* undo = deletion->findChild<QPushButton*>(QStringLiteral("undoButton"));
        QVERIFY(undo != nullptr && undo->isVisible());
        QTest::mouseClick(undo, Qt::LeftButton);
        QVERIFY(QFileInfo::exists(QString::fromStdString(file)));
        QVERIFY(w.root->toastView() != deletion);
        QCOMPARE(w.message(), QStringLiteral("1 item(s) restored"));
        QVERIFY(w.root->toastView()->findChild<QPushButton*>(QStringLiteral("undoButton")) ==
                nullptr);
    }

    void aNewToastReplacesTheOld() {
        ShellFixture f;
        Window w(f);
        w.state.setToast(toast(QStringLiteral("First")));
        QPointer<ToastView> first = w.root->toastView();
        w.state.setToast(toast(QStringLiteral("Second")));
        QCOMPARE(w.message(), QStringLiteral("Second"));
        QVERIFY(w.root->toastView() != first);
        QVERIFY(first->isLeaving());
        // The old one moves out and goes.
        QTRY_VERIFY(first.isNull());
        // Setting the same toast again keeps its view.
        ToastView* second = w.root->toastView();
        w.state.setToast(w.state.toast());
        QCOMPARE(w.root->toastView(), second);
    }

    void closingClearsTheToast() {
        ShellFixture f;
        Window w(f);
        w.state.setToast(toast(QStringLiteral("Restored 1 item")));
        QPointer<ToastView> view = w.root->toastView();
        auto* close = view->findChild<QToolButton*>(QStringLiteral("closeToastButton"));
        QCOMPARE(close->accessibleName(), QStringLiteral("Close"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!w.state.toast());
        QVERIFY(w.root->toastView() == nullptr);
        QTRY_VERIFY(view.isNull());
    }

    // With a short lifetime: a toast replaced at once never gets cleared by the first one's
    // wait, and clears itself once its own wait is over.
    void aToastClearsItselfAfterItsLifetime() {
        ShellFixture f;
        f.services.delays.toastLifetime = std::chrono::milliseconds(150);
        Window w(f);
        QSignalSpy changed(&w.state, &AppState::toastChanged);
        w.state.setToast(toast(QStringLiteral("First")));
        w.state.setToast(toast(QStringLiteral("Second")));
        QTRY_VERIFY(!w.state.toast());
        QCOMPARE(changed.count(), 3);
        QVERIFY(w.root->toastView() == nullptr);
    }

    void anOlderWaitLeavesANewerToastAlone() {
        ShellFixture f;
        AppState& state = f.makeState();
        QWidget parent;
        const Toast first = toast(QStringLiteral("First"));
        ToastView firstView(state, first, &parent);
        state.setToast(first);
        state.setToast(toast(QStringLiteral("Second")));
        firstView.dismissIfCurrent();
        QCOMPARE(state.toast()->message, QStringLiteral("Second"));
        state.setToast(first);
        firstView.dismissIfCurrent();
        QVERIFY(!state.toast());
    }

    void aToastShownWhenTheWindowGoesIsCleared() {
        ShellFixture f;
        Window w(f);
        w.state.setToast(toast(QStringLiteral("Moved 1 item to the Trash")));
        f.window.reset();
        QVERIFY(!w.state.toast());
    }
};

DORVALE_QT_TEST(ToastTest)

} // namespace dorvale

#include "ToastTest.moc"
