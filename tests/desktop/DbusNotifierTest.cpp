#include "platform/desktop/DbusNotifier.hpp"

#include "PrivateBus.hpp"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <vector>

namespace dorvale {
namespace {

using test::collectWarnings;
using test::loggedWarnings;
using test::spin;
using test::waitUntil;

const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");

// A notification server that records each Notify call; a silent one never answers, like a hung
// server. Messages reach it on the thread of the test, through the event loop.
class RecordingServer final : public QDBusVirtualObject {
public:
    explicit RecordingServer(bool answers = true)
        : m_answers(answers) {}

    QString introspect(const QString& /*path*/) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != serviceName || message.member() != QStringLiteral("Notify")) {
            return false;
        }
        m_calls.push_back(message);
        if (m_answers) {
            connection.send(message.createReply(QVariant::fromValue(uint(m_calls.size()))));
        }
        return true;
    }

    const std::vector<QDBusMessage>& calls() const { return m_calls; }

private:
    bool m_answers;
    std::vector<QDBusMessage> m_calls;
};

class DbusNotifierTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_bus.start());
        loggedWarnings().clear();
        m_previousHandler = qInstallMessageHandler(collectWarnings);
    }

    void TearDown() override { qInstallMessageHandler(m_previousHandler); }

    // Puts `server` on the bus under the notification service's name.
    void serve(RecordingServer& server) {
        m_server = m_bus.connect(QStringLiteral("server"));
        ASSERT_TRUE(m_server.registerVirtualObject(objectPath, &server));
        ASSERT_TRUE(m_server.registerService(serviceName));
    }

    void stopServing() {
        m_server.unregisterService(serviceName);
        m_server.unregisterObject(objectPath);
    }

    test::PrivateBus m_bus;
    QDBusConnection m_server{QString()};
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(DbusNotifierTest, PostsNotifyWithTheProgramsArgumentsAndAnEscapedBody) {
    RecordingServer server;
    serve(server);
    DbusNotifier notifier(m_bus.connect(QStringLiteral("client")));
    notifier.post("Dorvale cleaned 1.2 GB \xE2\x80\x99<b>", "Caches & <logs> stay > here");
    ASSERT_TRUE(waitUntil([&] { return !server.calls().empty(); }));
    spin(200);

    ASSERT_EQ(server.calls().size(), 1U);
    const QDBusMessage call = server.calls().front();
    EXPECT_EQ(call.path(), objectPath);
    EXPECT_EQ(call.signature(), QStringLiteral("susssasa{sv}i"));
    const QVariantList arguments = call.arguments();
    ASSERT_EQ(arguments.size(), 8);
    EXPECT_EQ(arguments[0].toString(), QStringLiteral("Dorvale"));
    EXPECT_EQ(arguments[1].value<uint>(), 0U);
    EXPECT_EQ(arguments[2].toString(), QString());
    EXPECT_EQ(arguments[3].toString(), QStringLiteral(u"Dorvale cleaned 1.2 GB \u2019<b>"));
    EXPECT_EQ(arguments[4].toString(), QStringLiteral("Caches &amp; &lt;logs&gt; stay &gt; here"));
    EXPECT_EQ(arguments[5].toStringList(), QStringList());
    const auto hints = qdbus_cast<QVariantMap>(arguments[6]);
    EXPECT_EQ(hints,
              (QVariantMap{{QStringLiteral("desktop-entry"), QStringLiteral("app.dorvale.Dorvale")},
                           {QStringLiteral("suppress-sound"), true}}));
    EXPECT_EQ(arguments[7].value<int>(), -1);
    EXPECT_TRUE(loggedWarnings().empty());
    stopServing();
}

// A blocking call to a hung server would hold the window for the whole D-Bus timeout (25 s).
TEST_F(DbusNotifierTest, PostReturnsAtOnceWhenTheServerNeverAnswers) {
    RecordingServer server(false);
    serve(server);
    DbusNotifier notifier(m_bus.connect(QStringLiteral("client")));
    QElapsedTimer elapsed;
    elapsed.start();
    notifier.post("Title", "Body");
    notifier.post("Title", "Body");
    EXPECT_LT(elapsed.elapsed(), 5'000);
    EXPECT_TRUE(waitUntil([&] { return server.calls().size() == 2; }));
    stopServing();
}

TEST_F(DbusNotifierTest, WithoutAServerNotificationsAreDroppedAndLoggedOnce) {
    DbusNotifier notifier(m_bus.connect(QStringLiteral("client")));
    notifier.post("One", "Body");
    notifier.post("Two", "Body");
    ASSERT_TRUE(waitUntil([&] { return !loggedWarnings().empty(); }));
    spin(200);
    ASSERT_EQ(loggedWarnings().size(), 1U);
    EXPECT_TRUE(loggedWarnings().front().startsWith(QStringLiteral("Notification not shown: ")));

    // Once a notification got through, the next outage is worth a line again.
    RecordingServer server;
    serve(server);
    notifier.post("Three", "Body");
    ASSERT_TRUE(waitUntil([&] { return server.calls().size() == 1; }));
    spin(200);
    stopServing();
    notifier.post("Four", "Body");
    ASSERT_TRUE(waitUntil([&] { return loggedWarnings().size() == 2; }));
}

TEST_F(DbusNotifierTest, WithoutABusNotificationsAreDroppedAndLoggedOnce) {
    DbusNotifier notifier(QDBusConnection(QStringLiteral("never-connected")));
    notifier.requestPermission();
    notifier.post("One", "Body");
    notifier.post("Two", "Body");
    ASSERT_EQ(loggedWarnings().size(), 1U);
    EXPECT_EQ(loggedWarnings().front(),
              QStringLiteral("Notification not shown: there is no session bus"));
}

} // namespace
} // namespace dorvale
