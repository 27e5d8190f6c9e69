#include "platform/desktop/TrayWatch.hpp"

#include "PrivateBus.hpp"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>

#include <gtest/gtest.h>

#include <future>

namespace dorvale {
namespace {

using test::spin;
using test::waitUntil;

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");

// A tray's watcher that says whether a host is registered, or, hung, never answers.
class FakeWatcher final : public QDBusVirtualObject {
public:
    enum class Answer { Yes, No, Never };

    explicit FakeWatcher(Answer answer)
        : m_answer(answer) {}

    QString introspect(const QString& /*path*/) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        ++questions;
        if (m_answer != Answer::Never) {
            connection.send(
                message.createReply(QVariant::fromValue(QDBusVariant(m_answer == Answer::Yes))));
        }
        return true;
    }

    int questions = 0;

private:
    Answer m_answer;
};

class TrayWatchTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_bus.start()); }

    void serve(FakeWatcher& watcher) {
        m_server = m_bus.connect(QStringLiteral("tray"));
        ASSERT_TRUE(m_server.registerVirtualObject(watcherPath, &watcher));
        ASSERT_TRUE(m_server.registerService(watcherService));
    }

    // A session bus whose connection is made at once.
    std::unique_ptr<SessionBus> connectedBus() {
        const QDBusConnection client = m_bus.connect(QStringLiteral("client"));
        auto bus = std::make_unique<SessionBus>([client] { return client; });
        EXPECT_TRUE(waitUntil([&] { return !bus->isConnecting(); }));
        return bus;
    }

    TrayWatch::ToolkitCheck toolkit(bool answer) {
        return [this, answer] {
            ++m_toolkitQuestions;
            return answer;
        };
    }

    test::PrivateBus m_bus;
    QDBusConnection m_server{QString()};
    int m_toolkitQuestions = 0;
};

TEST_F(TrayWatchTest, AWatcherWithAHostIsATray) {
    FakeWatcher watcher(FakeWatcher::Answer::Yes);
    serve(watcher);
    const auto bus = connectedBus();
    TrayWatch tray(*bus, toolkit(false));
    int changes = 0;
    QObject::connect(&tray, &TrayWatch::availabilityChanged, [&] { ++changes; });
    EXPECT_FALSE(tray.available());
    ASSERT_TRUE(waitUntil([&] { return tray.available(); }));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(m_toolkitQuestions, 0);
}

// The toolkit's own check would wait about 25 s on this watcher, each time the tray is checked.
TEST_F(TrayWatchTest, AWatcherThatNeverAnswersIsNoTrayAndHoldsNothingUp) {
    FakeWatcher watcher(FakeWatcher::Answer::Never);
    serve(watcher);
    const auto bus = connectedBus();
    TrayWatch tray(*bus, toolkit(true));
    EXPECT_FALSE(tray.available());
    ASSERT_TRUE(waitUntil([&] { return watcher.questions == 1; }));
    spin(200);
    EXPECT_FALSE(tray.available());
    EXPECT_FALSE(tray.available());
    EXPECT_EQ(watcher.questions, 1);
    EXPECT_EQ(m_toolkitQuestions, 0);
}

TEST_F(TrayWatchTest, WhereNoHostCanHangTheToolkitDecides) {
    FakeWatcher watcher(FakeWatcher::Answer::No);
    serve(watcher);
    const auto withWatcher = connectedBus();
    TrayWatch noHost(*withWatcher, toolkit(true));
    (void)noHost.available();
    EXPECT_TRUE(waitUntil([&] { return noHost.available(); }));
    EXPECT_EQ(watcher.questions, 1);
    m_server.unregisterService(watcherService);

    const auto withoutWatcher = connectedBus();
    m_toolkitQuestions = 0;
    TrayWatch noWatcher(*withoutWatcher, toolkit(true));
    (void)noWatcher.available();
    EXPECT_TRUE(waitUntil([&] { return noWatcher.available(); }));
    EXPECT_EQ(watcher.questions, 1);
    EXPECT_GE(m_toolkitQuestions, 1);
    m_server.unregisterObject(watcherPath);
}

// While the bus is still connecting the toolkit would wait for it too: no tray until then.
TEST_F(TrayWatchTest, UntilTheBusAnswersThereIsNoTray) {
    FakeWatcher watcher(FakeWatcher::Answer::Yes);
    serve(watcher);
    const QDBusConnection client = m_bus.connect(QStringLiteral("late"));
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    const SessionBus bus([client, answered] {
        answered.wait();
        return client;
    });
    TrayWatch tray(bus, toolkit(true));
    EXPECT_FALSE(tray.available());
    spin(100);
    EXPECT_FALSE(tray.available());
    EXPECT_EQ(m_toolkitQuestions, 0);
    answer.set_value();
    EXPECT_TRUE(waitUntil([&] { return tray.available(); }));
    EXPECT_EQ(m_toolkitQuestions, 0);
}

TEST(TrayWatch, WithoutABusTheToolkitDecides) {
    test::ensureApplication();
    const SessionBus bus([] { return QDBusConnection(QStringLiteral("never-connected")); });
    ASSERT_TRUE(waitUntil([&] { return !bus.isConnecting(); }));
    TrayWatch tray(bus, [] { return true; });
    EXPECT_FALSE(tray.available());
    EXPECT_TRUE(waitUntil([&] { return tray.available(); }));
}

} // namespace
} // namespace dorvale
