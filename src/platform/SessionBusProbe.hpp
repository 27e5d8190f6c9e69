#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace dorvale {

/// Whether the session bus answers at all, learned within a bounded time before anything
/// else uses it. Every D-Bus client, the toolkit's own among them, waits without end on a
/// bus that accepts a connection and never answers; the window would never show.
namespace SessionBusProbe {

enum class Answer {
    /// The bus answered the first line of the handshake.
    Answers,
    /// A connection was made, or is still being made, and nothing came back in time.
    Silent,
    /// There is no bus to connect to: each client finds that out at once by itself.
    Absent,
    /// A kind of address this probe does not try; the clients are left to it.
    Unknown,
};

/// The address the clients use: $DBUS_SESSION_BUS_ADDRESS, else the per-user bus socket
/// "unix:path=$XDG_RUNTIME_DIR/bus" when it exists; nothing when neither is there.
[[nodiscard]] std::optional<std::string> sessionAddress();

/// Connects to the first Unix-socket address of `address` (a D-Bus address list) without
/// blocking, starts the authentication and waits at most `limit` for the bus's first line.
[[nodiscard]] Answer probe(std::string_view address, std::chrono::milliseconds limit);

/// When the session bus does not answer within `limit`, points $DBUS_SESSION_BUS_ADDRESS at
/// an address that fails at once, so that the program and the toolkit start as they do on a
/// machine without a session bus, and logs one line saying so. Call it before the
/// application object is made and before any other thread starts.
void disableWhenSilent(std::chrono::milliseconds limit);

} // namespace SessionBusProbe

} // namespace dorvale
