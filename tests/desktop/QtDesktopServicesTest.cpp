#include "platform/desktop/QtDesktopServices.hpp"

#include "PrivateBus.hpp"

#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <gtest/gtest.h>

#include <future>

namespace dorvale {
namespace {

using test::spin;
using test::waitUntil;

// Answers ShowItems as a file manager would, remembering the arguments.
class FakeFileManager final : public QDBusVirtualObject {
public:
    QString introspect(const QString& /*path*/) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != QStringLiteral("org.freedesktop.FileManager1") ||
            message.member() != QStringLiteral("ShowItems")) {
            return false;
        }
        calls.push_back(message.arguments());
        connection.send(message.createReply());
        return true;
    }

    std::vector<QVariantList> calls;
};

class QtDesktopServicesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_bus.start()); }

    QDBusConnection connect(const QString& name) { return m_bus.connect(name); }

    QtDesktopServices::UrlOpener recorder() {
        return [this](const QUrl& url) {
            m_opened.push_back(url.toEncoded().toStdString());
            return true;
        };
    }

    test::PrivateBus m_bus;
    std::vector<std::string> m_opened;
};

TEST_F(QtDesktopServicesTest, RevealAsksTheFileManagerWithFileUris) {
    FakeFileManager fileManager;
    QDBusConnection server = connect(QStringLiteral("server"));
    ASSERT_TRUE(server.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"),
                                             &fileManager));
    ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.FileManager1")));

    QtDesktopServices desktop(connect(QStringLiteral("client")), recorder());
    desktop.reveal({"/tmp/a b/c.txt", "/tmp/caf\xFF"});
    ASSERT_TRUE(waitUntil([&] { return !fileManager.calls.empty(); }));
    spin(200);
    ASSERT_EQ(fileManager.calls.size(), 1U);
    const QVariantList& arguments = fileManager.calls.front();
    ASSERT_EQ(arguments.size(), 2);
    EXPECT_EQ(arguments[0].toStringList(), (QStringList{QStringLiteral("file:///tmp/a%20b/c.txt"),
                                                        QStringLiteral("file:///tmp/caf%FF")}));
    EXPECT_EQ(arguments[1].toString(), QString());
    EXPECT_TRUE(m_opened.empty());
    server.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
}

TEST_F(QtDesktopServicesTest, WithoutAFileManagerTheParentFoldersAreOpened) {
    QtDesktopServices desktop(connect(QStringLiteral("client")), recorder());
    desktop.reveal({"/x/a", "/x/b", "/y/c d/e"});
    EXPECT_TRUE(m_opened.empty());
    ASSERT_TRUE(waitUntil([&] { return m_opened.size() >= 2; }));
    EXPECT_EQ(m_opened, (std::vector<std::string>{"file:///x", "file:///y/c%20d"}));
}

// Without a session bus there is nothing to wait for.
TEST(QtDesktopServices, WithoutABusTheParentFolderOpensAtOnce) {
    test::ensureApplication();
    std::vector<std::string> opened;
    QtDesktopServices desktop(QDBusConnection(QStringLiteral("never-connected")),
                              [&](const QUrl& url) {
                                  opened.push_back(url.toEncoded().toStdString());
                                  return true;
                              });
    desktop.reveal({"/x/a"});
    desktop.reveal({});
    desktop.open("/tmp/caf\xC3\xA9 \xFF.txt");
    EXPECT_EQ(opened, (std::vector<std::string>{"file:///x", "file:///tmp/caf%C3%A9%20%FF.txt"}));
}

// A bus that has not answered yet is no bus: the window goes on, and the connection serves
// once it is made.
TEST_F(QtDesktopServicesTest, UntilTheBusAnswersRevealOpensTheParentFolder) {
    FakeFileManager fileManager;
    QDBusConnection server = connect(QStringLiteral("server"));
    ASSERT_TRUE(server.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"),
                                             &fileManager));
    ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    const QDBusConnection client = connect(QStringLiteral("client"));
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    const SessionBus bus([client, answered] {
        answered.wait();
        return client;
    });
    QtDesktopServices desktop(bus, recorder());
    test::loggedWarnings().clear();
    const QtMessageHandler previous = qInstallMessageHandler(test::collectWarnings);

    desktop.reveal({"/x/a"});
    desktop.reveal({"/y/b"});
    EXPECT_EQ(m_opened, (std::vector<std::string>{"file:///x", "file:///y"}));
    qInstallMessageHandler(previous);
    EXPECT_EQ(test::loggedWarnings().size(), 1U);

    answer.set_value();
    ASSERT_TRUE(waitUntil([&] {
        desktop.reveal({"/z/c"});
        return !fileManager.calls.empty();
    }));
    server.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
}

} // namespace
} // namespace dorvale
