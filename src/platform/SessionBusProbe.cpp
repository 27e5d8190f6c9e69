#include "platform/SessionBusProbe.hpp"

#include "platform/Descriptor.hpp"
#include "platform/Log.hpp"
#include "platform/Paths.hpp"
#include "platform/Text.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace dorvale::SessionBusProbe {

namespace {

using Clock = std::chrono::steady_clock;

// An address that every client refuses at once, without trying to start a bus of its own.
constexpr const char* noBus = "unix:path=/dev/null";

// A value of an address, with its %XX escapes undone.
std::string unescaped(std::string_view value) {
    std::string result;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            if (auto byte = fromHex(value.substr(i + 1, 2))) {
                result += *byte;
                i += 2;
                continue;
            }
        }
        result += value[i];
    }
    return result;
}

// The socket address of one "unix:" entry ("path=" or "abstract="), or nothing.
std::optional<sockaddr_un> socketOf(std::string_view entry) {
    if (!entry.starts_with("unix:")) {
        return std::nullopt;
    }
    entry.remove_prefix(5);
    while (!entry.empty()) {
        const std::size_t comma = entry.find(',');
        const std::string_view pair = entry.substr(0, comma);
        entry = comma == std::string_view::npos ? std::string_view() : entry.substr(comma + 1);
        const bool abstract = pair.starts_with("abstract=");
        if (!abstract && !pair.starts_with("path=")) {
            continue;
        }
        const std::string name = unescaped(pair.substr(pair.find('=') + 1));
        sockaddr_un socketAddress{};
        socketAddress.sun_family = AF_UNIX;
        const std::size_t offset = abstract ? 1 : 0;
        if (name.empty() || name.size() + offset >= sizeof socketAddress.sun_path) {
            return std::nullopt;
        }
        std::memcpy(socketAddress.sun_path + offset, name.data(), name.size());
        return socketAddress;
    }
    return std::nullopt;
}

socklen_t lengthOf(const sockaddr_un& socketAddress) {
    const bool abstract = socketAddress.sun_path[0] == '\0';
    const std::size_t name = abstract ? 1 + std::strlen(socketAddress.sun_path + 1)
                                      : std::strlen(socketAddress.sun_path);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name);
}

// Waits for `events` on `fd` until `deadline`; false when the time ran out.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd watched{.fd = fd, .events = events, .revents = 0};
        const int ready = poll(&watched, 1, static_cast<int>(left.count()));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

// The handshake's first line: a NUL byte, then the request to authenticate as this user.
std::string authenticationRequest() {
    const std::string uid = std::to_string(getuid());
    return std::string(1, '\0') + "AUTH EXTERNAL " + toHex(uid) + "\r\n";
}

Answer askOne(const sockaddr_un& socketAddress, std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    Descriptor fd(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        return Answer::Absent;
    }
    if (connect(fd.get(), reinterpret_cast<const sockaddr*>(&socketAddress),
                lengthOf(socketAddress)) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN) {
            return Answer::Absent;
        }
        if (!waitFor(fd.get(), POLLOUT, deadline)) {
            return Answer::Silent;
        }
        int error = 0;
        socklen_t size = sizeof error;
        if (getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            return Answer::Absent;
        }
    }
    const std::string request = authenticationRequest();
    if (send(fd.get(), request.data(), request.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(request.size())) {
        return Answer::Silent;
    }
    char reply[64];
    if (!waitFor(fd.get(), POLLIN, deadline)) {
        return Answer::Silent;
    }
    // Any line back, even a refusal, shows that someone is there and answering.
    return recv(fd.get(), reply, sizeof reply, 0) > 0 ? Answer::Answers : Answer::Silent;
}

} // namespace

std::optional<std::string> sessionAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        address != nullptr && *address != '\0') {
        return std::string(address);
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime != '/') {
        return std::nullopt;
    }
    const std::string socketPath = joinPath(runtime, "bus");
    struct stat info {};
    if (stat(socketPath.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
        return std::nullopt;
    }
    return "unix:path=" + socketPath;
}

Answer probe(std::string_view address, std::chrono::milliseconds limit) {
    // Clients try the entries in turn; the first Unix socket is the one used here.
    while (!address.empty()) {
        const std::size_t semicolon = address.find(';');
        const std::string_view entry = address.substr(0, semicolon);
        address = semicolon == std::string_view::npos ? std::string_view()
                                                      : address.substr(semicolon + 1);
        if (const auto socketAddress = socketOf(entry)) {
            return askOne(*socketAddress, limit);
        }
        if (!entry.starts_with("unix:")) {
            return Answer::Unknown;
        }
    }
    return Answer::Absent;
}

void disableWhenSilent(std::chrono::milliseconds limit) {
    const std::optional<std::string> address = sessionAddress();
    if (!address || probe(*address, limit) != Answer::Silent) {
        return;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", noBus, 1);
    logWarning("The session bus at " + *address + " does not answer; starting without it.");
}

} // namespace dorvale::SessionBusProbe
