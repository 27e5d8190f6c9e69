#include "platform/desktop/QtDesktopServices.hpp"

#include "support/FixtureTree.hpp"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>

namespace dorvale {
namespace {

// A bus of our own with no activatable services, so nothing on the machine is started.
constexpr char busConfiguration[] = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "desktop_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

bool waitUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(10'000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return done();
}

void spin(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
}

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
    void SetUp() override {
        application();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                        QStringLiteral("--config-file=") +
                            QString::fromStdString(m_fixture.file("bus.conf", busConfiguration))});
        ASSERT_TRUE(m_daemon.waitForStarted());
        ASSERT_TRUE(m_daemon.waitForReadyRead(10'000));
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        ASSERT_FALSE(m_address.isEmpty());
    }

    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    QDBusConnection connect(const QString& name) {
        return QDBusConnection::connectToBus(m_address, name);
    }

    QtDesktopServices::UrlOpener recorder() {
        return [this](const QUrl& url) {
            m_opened.push_back(url.toEncoded().toStdString());
            return true;
        };
    }

    test::FixtureTree m_fixture;
    QProcess m_daemon;
    QString m_address;
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
    application();
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

} // namespace
} // namespace dorvale
