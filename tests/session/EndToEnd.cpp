// Starts the installed program as a desktop session does at login, through the autostart
// entry the program writes for itself, on a fixture home whose settings scan a folder at
// start and run the automatic clean. Once the scan has ended (the toolbar's button reads
// "Rescan" to assistive technology) and the clean has ended (its date is in the settings
// file), it quits the program with Ctrl+Q typed into its window, then checks that it ended
// with 0, printed nothing, and left its settings and history whole.
//
// Run inside a session of its own (tests/session/session.sh): HOME and the XDG folders in a
// temporary folder, an X display and a private D-Bus session bus.

#include "AccessibleTree.hpp"
#include "model/DeletionHistory.hpp"
#include "platform/AutostartLoginItem.hpp"
#include "platform/FileOperations.hpp"
#include "platform/JsonSettings.hpp"
#include "platform/Locations.hpp"
#include "support/DesktopEntry.hpp"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

using dorvale::DeletionHistory;
using dorvale::HistoryEntry;
using dorvale::JsonSettings;
using dorvale::Locations;
using Json = nlohmann::json;

constexpr int startLimit = 60'000;
constexpr int quitLimit = 30'000;
constexpr int toolLimit = 15'000;
constexpr int showLimit = 5'000;
constexpr unsigned long pollMilliseconds = 100;
constexpr std::size_t cacheBytes = 64 * 1024;

// Counts the checks and says which failed.
struct Checks {
    int passed = 0;
    int failed = 0;

    bool expect(bool holds, const std::string& what) {
        (holds ? passed : failed) += 1;
        if (!holds) {
            std::fprintf(stderr, "FAIL: %s\n", what.c_str());
        }
        return holds;
    }
};

void write(const std::filesystem::path& path, const std::string& contents) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

std::string contentsOf(const std::string& path) {
    const auto read = dorvale::readFile(path);
    return read.ok() ? read.value() : std::string();
}

// The user's files: a folder to scan, with a name that is not UTF-8, and an application's
// cache for the automatic clean.
struct Fixture {
    Locations locations = Locations::fromEnvironment();
    std::string scanFolder = locations.homePath("Projects");
    std::string cacheFolder = locations.homePath("Library/Caches/org.example.viewer");
    std::string settingsFile = JsonSettings::defaultPath(locations);
    std::string historyFile = DeletionHistory::defaultLocation(locations);
    HistoryEntry earlier{.id = dorvale::Uuid::random(),
                         .date = 1'700'000'000,
                         .originalPath = locations.homePath("old notes.txt"),
                         .size = 4096};

    void build() const {
        write(scanFolder + "/report.txt", "quarterly figures\n");
        write(scanFolder + "/photos/holiday.raw", std::string(200'000, 'p'));
        write(scanFolder + "/caf\xE9 menu.txt", "not UTF-8\n");
        write(cacheFolder + "/thumbnails.db", std::string(cacheBytes, 'c'));
        JsonSettings settings(settingsFile);
        settings.setValue("autoScan", std::string(scanFolder));
        settings.setValue("cleanSchedule", std::string("daily"));
        // No warning notification: the machine's own free space must not change the run.
        settings.setValue("lowSpaceGB", std::int64_t{0});
        DeletionHistory(historyFile).record({earlier});
    }
};

bool waitFor(int limit, const QProcess& program, const std::function<bool()>& done) {
    const QDeadlineTimer deadline(limit);
    while (!deadline.hasExpired() && program.state() == QProcess::Running) {
        if (done()) {
            return true;
        }
        QCoreApplication::processEvents();
        QThread::msleep(pollMilliseconds);
    }
    return false;
}

bool cleanRecorded(const std::string& settingsFile) {
    const Json settings = Json::parse(contentsOf(settingsFile), nullptr, false);
    return settings.is_object() && settings.contains("lastAutoClean");
}

struct ToolOutcome {
    bool succeeded = false;
    std::string output;
};

// Runs a tool found on the path, with its standard error in its output.
ToolOutcome run(const std::string& tool, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromStdString(tool), list);
    const bool finished = process.waitForFinished(toolLimit);
    return {finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            process.readAllStandardOutput().trimmed().toStdString()};
}

// The program's main window, found by its title.
std::string mainWindow() {
    const std::string windows =
        run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^Dorvale$"}).output;
    return windows.substr(0, windows.find('\n'));
}

// The class part of a window's WM_CLASS, which docks match against an entry's
// StartupWMClass: the line reads `WM_CLASS(STRING) = "instance", "class"`.
std::string windowClass(const std::string& window) {
    const std::string line = run("xprop", {"-id", window, "WM_CLASS"}).output;
    const auto comma = line.rfind(", \"");
    if (comma == std::string::npos || !line.ends_with('"')) {
        return {};
    }
    return line.substr(comma + 3, line.size() - comma - 4);
}

// The value of `key` in an entry's contents, or nothing.
std::string entryValue(const std::string& contents, const std::string& key) {
    const std::string prefix = "\n" + key + "=";
    const auto start = contents.find(prefix);
    if (start == std::string::npos) {
        return {};
    }
    const auto from = start + prefix.size();
    return contents.substr(from, contents.find('\n', from) - from);
}

// Types Ctrl+Q into the program's window, as the user would.
void pressQuit(const std::string& window) {
    run("xdotool", {"windowfocus", "--sync", window});
    run("xdotool", {"key", "--clearmodifiers", "ctrl+q"});
}

// The autostart entry for the installed program, checked as the desktop reads it.
std::vector<std::string> autostartCommand(Checks& checks, const Fixture& fixture,
                                          const std::string& program) {
    dorvale::AutostartLoginItem login(fixture.locations, program);
    checks.expect(login.registerItem().ok(), "the autostart entry is written");
    const ToolOutcome validation = run("desktop-file-validate", {login.entryPath()});
    checks.expect(validation.succeeded && validation.output.empty(),
                  "the autostart entry is valid: " + validation.output);
    const auto command = dorvale::test::entryCommand(contentsOf(login.entryPath()));
    checks.expect(command && *command == std::vector<std::string>{program},
                  "the autostart entry starts " + program);
    return command ? *command : std::vector<std::string>{program};
}

void checkFiles(Checks& checks, const Fixture& fixture) {
    const Json settings = Json::parse(contentsOf(fixture.settingsFile), nullptr, false);
    checks.expect(settings.is_object(), "the settings file is a JSON object");
    checks.expect(settings.value("autoScan", "") == fixture.scanFolder, "autoScan is kept");
    checks.expect(settings.value("lastAutoCleanBytes", 0) > 0,
                  "the clean's freed bytes are stored");
    const Json history = Json::parse(contentsOf(fixture.historyFile), nullptr, false);
    checks.expect(history.is_array() && history.size() == 2, "the history is a JSON array of 2");
    const DeletionHistory reread(fixture.historyFile);
    checks.expect(reread.entries().size() == 2 &&
                      reread.entries().front().originalPath == fixture.cacheFolder &&
                      reread.entries().back() == fixture.earlier,
                  "the history holds the clean's entry, then the earlier one");
    checks.expect(!std::filesystem::exists(fixture.historyFile + ".unreadable"),
                  "no history file was set aside");
    checks.expect(!std::filesystem::exists(fixture.cacheFolder), "the cache was cleaned");
    checks.expect(std::filesystem::exists(fixture.scanFolder + "/photos/holiday.raw"),
                  "the scanned folder is untouched");
}

void runProgram(Checks& checks, const Fixture& fixture, const std::vector<std::string>& command,
                const std::optional<dorvale::test::AccessibleTree>& tree) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);
    QStringList arguments;
    for (std::size_t i = 1; i < command.size(); ++i) {
        arguments << QString::fromStdString(command[i]);
    }
    program.start(QString::fromStdString(command.front()), arguments);
    if (!checks.expect(program.waitForStarted(toolLimit), "the program starts")) {
        return;
    }
    // What the program would write into its own autostart entry is its executable's path.
    const QString executable =
        QFileInfo(QStringLiteral("/proc/%1/exe").arg(program.processId())).symLinkTarget();
    checks.expect(executable ==
                      QFileInfo(QString::fromStdString(command.front())).canonicalFilePath(),
                  "the program runs from the installed path");
    const bool ready = waitFor(startLimit, program, [&] {
        return cleanRecorded(fixture.settingsFile) && tree &&
               tree->shows(QStringLiteral("Dorvale"), QStringLiteral("Rescan"));
    });
    if (checks.expect(ready, "the scan and the automatic clean end")) {
        const std::string window = mainWindow();
        const std::string entryClass = entryValue(
            contentsOf(dorvale::AutostartLoginItem(fixture.locations, command.front()).entryPath()),
            "StartupWMClass");
        checks.expect(!entryClass.empty() && windowClass(window) == entryClass,
                      "the window's class " + windowClass(window) +
                          " is the entry's StartupWMClass " + entryClass);
        // The desktop entry used while the program runs: the later launch hands over and ends.
        const ToolOutcome later = run(command.front(), {});
        checks.expect(later.succeeded, "a later launch exits with 0: " + later.output);
        checks.expect(program.state() == QProcess::Running, "the first launch goes on running");
        pressQuit(window);
    }
    const bool ended = program.waitForFinished(quitLimit);
    if (!checks.expect(ended, "Ctrl+Q ends the program")) {
        program.kill();
        program.waitForFinished();
    }
    checks.expect(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                  "the program exits with 0, not " + std::to_string(program.exitCode()));
    const QByteArray output = program.readAllStandardOutput() + program.readAllStandardError();
    checks.expect(output.isEmpty(), "the program prints nothing:\n" + output.toStdString());
}

// A listening socket that no one ever answers: a session bus whose daemon hangs.
int silentBus(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), std::min(path.size(), sizeof address.sun_path - 1));
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 64) != 0) {
        return -1;
    }
    return fd;
}

bool windowShown() {
    return !run("xdotool", {"search", "--onlyvisible", "--name", "^Dorvale$"}).output.empty();
}

// On a bus that accepts connections and never answers, the window still shows within 5 s and
// takes the keyboard.
void runOnSilentBus(Checks& checks, const std::string& program, const std::string& socketPath) {
    const int bus = silentBus(socketPath);
    if (!checks.expect(bus >= 0, "a silent bus listens")) {
        return;
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QString::fromStdString("unix:path=" + socketPath));
    process.setProcessEnvironment(environment);
    process.start(QString::fromStdString(program), {});
    QElapsedTimer shown;
    checks.expect(process.waitForStarted(toolLimit), "on a silent bus the program starts");
    shown.start();
    const bool appeared = waitFor(startLimit, process, windowShown);
    checks.expect(appeared && shown.elapsed() < showLimit,
                  "on a silent bus the window shows within 5 s, not " +
                      std::to_string(shown.elapsed()) + " ms");
    pressQuit(mainWindow());
    const bool ended = process.waitForFinished(quitLimit);
    if (!checks.expect(ended, "on a silent bus Ctrl+Q ends the program")) {
        process.kill();
        process.waitForFinished();
    }
    checks.expect(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                  "on a silent bus the program exits with 0");
    const QByteArray output = process.readAllStandardError();
    checks.expect(output.count('\n') == 1 && output.contains("does not answer"),
                  "on a silent bus the program says so in one line:\n" + output.toStdString());
    close(bus);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s <installed program>\n", argv[0]);
        return 2;
    }
    Checks checks;
    Fixture fixture;
    fixture.build();
    const auto tree = dorvale::test::AccessibleTree::open();
    checks.expect(tree.has_value(), "the session has an accessibility bus");
    runProgram(checks, fixture, autostartCommand(checks, fixture, argv[1]), tree);
    checkFiles(checks, fixture);
    runOnSilentBus(checks, argv[1], fixture.locations.homePath("silent-bus"));
    std::printf("%d passed, %d failed\n", checks.passed, checks.failed);
    return checks.failed == 0 ? 0 : 1;
}
