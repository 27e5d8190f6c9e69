#pragma once

#include <string>
#include <vector>

// Running command-line tools. Every call here blocks until the tool has exited, and a tool
// that hangs blocks its caller for as long: run them on a worker thread, never on the GUI
// thread.
namespace dorvale {

/// What became of one run of a tool.
struct ProcessOutcome {
    /// Whether the tool could be started at all.
    bool started = false;
    /// The exit status; 128 + the signal number when a signal ended the tool; -1 when it
    /// never started or its status could not be had.
    int exitStatus = -1;
    /// The bytes the tool wrote, as they came; at most the first 64 MiB.
    std::string output{};
};

/// How the tool's streams are connected.
enum class ErrorStream {
    /// Standard error goes to /dev/null.
    Discard,
    /// Standard error goes into the same pipe as standard output.
    Capture,
};

/// Starts `executable` with `arguments` as argv[1...], reads its standard output to the end
/// and waits for it. Reading stops after 64 MiB, and a tool that goes on writing then finds
/// its pipe closed. The executable must be an absolute path: a relative one is not
/// started, and $PATH is never searched. Standard input is /dev/null, so a tool that asks
/// a question gets end-of-file instead of waiting forever.
/// The tool starts with default signal handling and an empty signal mask, whatever this
/// process has set for itself.
[[nodiscard]] ProcessOutcome spawnProcess(const std::string& executable,
                                          const std::vector<std::string>& arguments,
                                          ErrorStream errors = ErrorStream::Discard);

/// The tool's standard output as UTF-8, each ill-formed sequence replaced by U+FFFD;
/// standard error is discarded and the exit status is not looked at, so a failing tool
/// still yields what it printed. An empty text when the tool cannot be started.
[[nodiscard]] std::string runProcess(const std::string& executable,
                                     const std::vector<std::string>& arguments);

/// Runs tools for code that tests want to run without them. Implementations may be called
/// from any thread; `run` blocks like `runProcess`.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    [[nodiscard]] virtual std::string run(const std::string& executable,
                                          const std::vector<std::string>& arguments) const = 0;

    /// The runner that really starts the tools, through `runProcess`.
    [[nodiscard]] static const ProcessRunner& system();
};

} // namespace dorvale
