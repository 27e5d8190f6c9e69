#include "platform/AutostartLoginItem.hpp"

#include "platform/FileOperations.hpp"
#include "platform/Process.hpp"
#include "support/DesktopEntry.hpp"
#include "support/FixtureTree.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::execArguments;
using test::execLine;
using test::unescapedString;

class AutostartLoginItemTest : public ::testing::Test {
protected:
    AutostartLoginItem item(std::string programPath = "/usr/bin/dorvale") const {
        return AutostartLoginItem(m_locations, std::move(programPath));
    }

    test::FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root(), "/home/a");
};

TEST_F(AutostartLoginItemTest, WritesTheEntryThatTheDesktopStarts) {
    AutostartLoginItem login = item("/opt/My \"Apps\"/100%/dorvale");
    EXPECT_EQ(login.entryPath(),
              m_fixture.root() + "/home/a/.config/autostart/app.dorvale.Dorvale.desktop");
    ASSERT_TRUE(login.registerItem().ok());
    const Result<std::string> contents = readFile(login.entryPath());
    ASSERT_TRUE(contents.ok());
    EXPECT_EQ(contents.value(), "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=Dorvale\n"
                                "Comment=See where your disk space goes and take it back safely\n"
                                "Icon=app.dorvale.Dorvale\n"
                                "Exec=\"/opt/My \\\\\"Apps\\\\\"/100%%/dorvale\"\n"
                                "StartupWMClass=Dorvale\n"
                                "X-GNOME-Autostart-enabled=true\n");
}

// Whatever the program's path holds, the launcher must read back exactly that one path.
TEST_F(AutostartLoginItemTest, TheExecLineParsesBackToTheProgramPath) {
    const std::string paths[] = {
        "/usr/bin/dorvale",
        "/home/a b/My \"Apps\"/100% done/dorvale",
        "/tmp/`$HOME`\\x/%f %% $1/it's/dorvale",
        "/opt/caf\xC3\xA9 \xE2\x80\x99/dorvale",
    };
    const bool validatorInstalled = access("/usr/bin/desktop-file-validate", X_OK) == 0;
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        AutostartLoginItem login = item(path);
        ASSERT_TRUE(login.registerItem().ok());
        const Result<std::string> contents = readFile(login.entryPath());
        ASSERT_TRUE(contents.ok());
        const auto exec = execLine(contents.value());
        ASSERT_TRUE(exec.has_value());
        const auto unescaped = unescapedString(*exec);
        ASSERT_TRUE(unescaped.has_value());
        EXPECT_EQ(execArguments(*unescaped), std::vector<std::string>{path});
        if (validatorInstalled) {
            const ProcessOutcome validation = spawnProcess(
                "/usr/bin/desktop-file-validate", {login.entryPath()}, ErrorStream::Capture);
            EXPECT_EQ(validation.exitStatus, 0) << validation.output;
            EXPECT_EQ(validation.output, "");
        }
    }
}

TEST_F(AutostartLoginItemTest, RegisterAndUnregisterSwitchTheState) {
    AutostartLoginItem login = item();
    ASSERT_TRUE(login.isEnabled().ok());
    EXPECT_FALSE(login.isEnabled().value());
    ASSERT_TRUE(login.registerItem().ok());
    EXPECT_TRUE(login.isEnabled().value());
    ASSERT_TRUE(login.registerItem().ok());
    EXPECT_TRUE(login.isEnabled().value());
    ASSERT_TRUE(login.unregisterItem().ok());
    EXPECT_FALSE(login.isEnabled().value());
    EXPECT_EQ(access(login.entryPath().c_str(), F_OK), -1);
    EXPECT_TRUE(login.unregisterItem().ok());
}

// Desktops switch an entry off by writing these keys into it instead of removing it.
TEST_F(AutostartLoginItemTest, AnEntrySwitchedOffByTheDesktopIsNotEnabled) {
    const struct {
        const char* lines;
        bool enabled;
    } cases[] = {
        {"Hidden=true\n", false},
        {"Hidden = true\n", false},
        {"X-GNOME-Autostart-enabled=false\n", false},
        {"X-GNOME-Autostart-enabled=true\nHidden=false\n", true},
        {"\n[Desktop Action quit]\nHidden=true\nX-GNOME-Autostart-enabled=false\n", true},
        {"X-GNOME-Autostart-enabled=false", false},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.lines);
        m_fixture.file("home/a/.config/autostart/app.dorvale.Dorvale.desktop",
                       std::string("[Desktop Entry]\nType=Application\nExec=dorvale\n") +
                           testCase.lines);
        const Result<bool> enabled = item().isEnabled();
        ASSERT_TRUE(enabled.ok());
        EXPECT_EQ(enabled.value(), testCase.enabled);
    }
}

TEST_F(AutostartLoginItemTest, APathNoEntryCanHoldIsRefusedAndNothingIsWritten) {
    const std::string paths[] = {
        "/opt/two\nlines/dorvale", "/opt/tab\there/dorvale", "/opt/caf\xFF/dorvale", "dorvale", "",
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        AutostartLoginItem login = item(path);
        const Result<void> registered = login.registerItem();
        ASSERT_FALSE(registered.ok());
        EXPECT_EQ(registered.error().code, EINVAL);
        EXPECT_EQ(registered.error().reason(),
                  "The program’s location contains characters that a login item can’t hold.");
        EXPECT_FALSE(login.isEnabled().value());
    }
}

TEST_F(AutostartLoginItemTest, FailuresAreReportedWithTheirReason) {
    m_fixture.file("home/a/.config/autostart", "not a folder");
    AutostartLoginItem blocked = item();
    const Result<void> registered = blocked.registerItem();
    ASSERT_FALSE(registered.ok());
    EXPECT_EQ(registered.error().code, ENOTDIR);
    EXPECT_FALSE(registered.error().reason().empty());
    // With no folder there is no entry: not enabled, and nothing to remove.
    EXPECT_FALSE(blocked.isEnabled().value());
    EXPECT_TRUE(blocked.unregisterItem().ok());

    test::FixtureTree other;
    const Locations locations = Locations::inside(other.root(), "/home/a");
    other.file("home/a/.config/autostart/app.dorvale.Dorvale.desktop/inside");
    AutostartLoginItem folderInTheWay(locations, "/usr/bin/dorvale");
    const Result<bool> enabled = folderInTheWay.isEnabled();
    ASSERT_FALSE(enabled.ok());
    EXPECT_EQ(enabled.error().code, EISDIR);
    const Result<void> unregistered = folderInTheWay.unregisterItem();
    ASSERT_FALSE(unregistered.ok());
    EXPECT_EQ(unregistered.error().code, EISDIR);
}

} // namespace
} // namespace dorvale
