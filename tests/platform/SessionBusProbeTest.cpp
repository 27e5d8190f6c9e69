#include "platform/SessionBusProbe.hpp"

#include "platform/Descriptor.hpp"
#include "platform/Text.hpp"
#include "support/FixtureTree.hpp"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

namespace dorvale {
namespace {

using namespace std::chrono_literals;
using SessionBusProbe::Answer;

// A listening Unix socket at `name` (a path, or an abstract name after a NUL byte). The
// system completes connections to it whether or not anyone accepts them, as with a bus
// whose daemon has stopped answering.
Descriptor listeningSocket(const std::string& name) {
    Descriptor fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
    if (bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        listen(fd.get(), 16) != 0) {
        return Descriptor();
    }
    return fd;
}

// Puts an environment variable back as it was.
class ScopedVariable {
public:
    explicit ScopedVariable(const char* name)
        : m_name(name) {
        if (const char* value = std::getenv(name)) {
            m_value = value;
        }
    }
    ~ScopedVariable() {
        if (m_value) {
            setenv(m_name, m_value->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_value;
};

class SessionBusProbeTest : public ::testing::Test {
protected:
    test::FixtureTree m_fixture;
    std::string m_folder = m_fixture.folder("run time");
    std::string m_socket = m_folder + "/bus";
};

TEST_F(SessionBusProbeTest, TellsABusThatAnswersFromOneThatDoesNot) {
    const Descriptor silent = listeningSocket(m_socket);
    ASSERT_TRUE(silent.valid());
    const std::string abstractName = "dorvale-probe-" + std::to_string(getpid());
    const Descriptor silentAbstract = listeningSocket(std::string(1, '\0') + abstractName);
    ASSERT_TRUE(silentAbstract.valid());
    const std::string plainFile = m_fixture.file("not a socket");
    const std::string escaped = "unix:path=" + m_fixture.root() + "/run%20time/bus";
    struct Case {
        std::string address;
        Answer answer;
    };
    const Case cases[] = {
        {"unix:path=" + m_socket + ",guid=0123", Answer::Silent},
        {escaped, Answer::Silent},
        {"unix:abstract=" + abstractName, Answer::Silent},
        {"unix:tmpdir=/tmp;unix:path=" + m_socket, Answer::Silent},
        {"unix:path=" + m_fixture.path("missing"), Answer::Absent},
        {"unix:path=" + plainFile, Answer::Absent},
        {"tcp:host=localhost,port=1", Answer::Unknown},
        {"", Answer::Absent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(SessionBusProbe::probe(c.address, 100ms), c.answer);
    }
}

TEST_F(SessionBusProbeTest, ABusThatAnswersTheHandshakeAnswers) {
    const Descriptor listening = listeningSocket(m_socket);
    ASSERT_TRUE(listening.valid());
    std::string request;
    std::thread bus([&] {
        const Descriptor client(accept(listening.get(), nullptr, nullptr));
        char buffer[128];
        const ssize_t got = read(client.get(), buffer, sizeof buffer);
        request.assign(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
        const std::string_view reply = "OK 0123456789abcdef\r\n";
        (void)!write(client.get(), reply.data(), reply.size());
    });
    EXPECT_EQ(SessionBusProbe::probe("unix:path=" + m_socket, 10s), Answer::Answers);
    bus.join();
    EXPECT_EQ(request,
              std::string(1, '\0') + "AUTH EXTERNAL " + toHex(std::to_string(getuid())) + "\r\n");
}

// The environment is what the toolkit reads once the application object is made.
TEST_F(SessionBusProbeTest, ASilentBusIsReplacedByNoBusWithOneLogLine) {
    const Descriptor silent = listeningSocket(m_socket);
    ASSERT_TRUE(silent.valid());
    const ScopedVariable address("DBUS_SESSION_BUS_ADDRESS");
    const ScopedVariable runtime("XDG_RUNTIME_DIR");

    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("XDG_RUNTIME_DIR", m_folder.c_str(), 1);
    EXPECT_EQ(SessionBusProbe::sessionAddress(), "unix:path=" + m_socket);
    testing::internal::CaptureStderr();
    SessionBusProbe::disableWhenSilent(100ms);
    const std::string log = testing::internal::GetCapturedStderr();
    const std::string replaced = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    EXPECT_EQ(SessionBusProbe::probe(replaced, 100ms), Answer::Absent);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;

    setenv("DBUS_SESSION_BUS_ADDRESS", "tcp:host=localhost,port=1", 1);
    SessionBusProbe::disableWhenSilent(100ms);
    EXPECT_STREQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), "tcp:host=localhost,port=1");
}

} // namespace
} // namespace dorvale
