#include "inventory/LaunchItem.hpp"
#include "platform/Trash.hpp"
#include "support/FakeProcessRunner.hpp"
#include "support/FixedClock.hpp"
#include "support/FixtureTree.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace dorvale {
namespace {

using Scope = LaunchItem::Scope;
using test::CommandLine;

constexpr uid_t uid = 501;

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// Runs the administrator command as it stands, without asking anybody, so the script's
// own behaviour is what the test sees.
class DirectRunner final : public AdministratorRunner {
public:
    [[nodiscard]] AdministratorResult run(const std::vector<std::string>& command) const override {
        const ProcessOutcome outcome = spawnProcess(
            command.front(), {command.begin() + 1, command.end()}, ErrorStream::Capture);
        return {outcome.exitStatus == 0 ? AdministratorStatus::Succeeded
                                        : AdministratorStatus::Failed,
                outcome.exitStatus, outcome.output};
    }
};

class LaunchItemRemovalTest : public ::testing::Test {
protected:
    LaunchItem item(Scope scope, std::string_view relative) {
        LaunchItem made;
        made.path = m_fixture.file(relative, "<plist/>");
        made.label = "com.example.agent";
        made.scope = scope;
        return made;
    }

    std::optional<std::string> remove(const LaunchItem& target,
                                      const AdministratorRunner& administrator) {
        return LaunchItem::remove(target, uid, m_locations, m_trash, m_processes, administrator);
    }

    std::string trashed(std::string_view name) const {
        return m_locations.trashFolder() + "/" + std::string(name);
    }
    std::string description(std::string_view name) const {
        return m_locations.homeTrash() + "/info/" + std::string(name) + ".trashinfo";
    }

    test::FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root());
    test::FixedClock m_clock{1'700'000'000};
    Trash m_trash{m_locations, m_clock};
    test::FakeProcessRunner m_processes;
    test::FakeAdministratorRunner m_administrator;
};

TEST(LaunchItemPathRule, AcceptsOnlyPlainAbsolutePropertyListPaths) {
    struct Case {
        std::string_view path;
        bool accepted;
    };
    for (const Case& c : {
             Case{"/Library/LaunchAgents/com.example.agent.plist", true},
             Case{"/Users/a b/Library/LaunchAgents/my agent@2+x_y-z.plist", true},
             Case{"/Library/LaunchAgents/it's.plist", false},
             Case{"/Library/LaunchAgents/\"quoted\".plist", false},
             Case{"/Library/LaunchAgents/back\\slash.plist", false},
             Case{"/Library/LaunchAgents/caf\xc3\xa9.plist", false},
             Case{"/Library/LaunchAgents/../LaunchDaemons/x.plist", false},
             Case{"/Library/LaunchAgents/x..plist", false},
             Case{"/Library/LaunchAgents/x.plist\n", false},
             Case{"/Library/LaunchAgents/x.PLIST", false},
             Case{"/Library/LaunchAgents/x.plist.bak", false},
             Case{"/Library/LaunchAgents/$(reboot).plist", false},
             Case{"Library/LaunchAgents/x.plist", false},
             Case{"/.plist", false},
             Case{"", false},
         }) {
        EXPECT_EQ(LaunchItem::isRemovablePath(c.path), c.accepted) << c.path;
    }
}

TEST(LaunchItemPathRule, SystemCommandsPassEveryValueAsAParameterOfAFixedScript) {
    const std::string script =
        "/bin/launchctl bootout \"$1\" \"$2\" >/dev/null 2>&1; /bin/mv -T -- \"$2\" \"$3\"";
    EXPECT_EQ(
        LaunchItem::systemRemovalCommand(Scope::SystemAgent, "/Library/LaunchAgents/a.plist",
                                         "/home/a/.local/share/Trash/files/a.plist", 501),
        (CommandLine{"/bin/sh", "-c", script, "sh", "gui/501", "/Library/LaunchAgents/a.plist",
                     "/home/a/.local/share/Trash/files/a.plist"}));
    EXPECT_EQ(LaunchItem::systemRemovalCommand(Scope::SystemDaemon,
                                               "/Library/LaunchDaemons/d.plist", "/t/d.plist", 0),
              (CommandLine{"/bin/sh", "-c", script, "sh", "system",
                           "/Library/LaunchDaemons/d.plist", "/t/d.plist"}));
}

TEST_F(LaunchItemRemovalTest, UserAgentIsBootedOutOfTheUsersDomainAndTrashed) {
    const LaunchItem agent = item(Scope::UserAgent, "Users/a/Library/LaunchAgents/a b.plist");

    EXPECT_EQ(remove(agent, m_administrator), std::nullopt);

    EXPECT_EQ(m_processes.calls(),
              (std::vector<CommandLine>{{"/bin/launchctl", "bootout", "gui/501", agent.path}}));
    EXPECT_TRUE(m_administrator.calls().empty());
    EXPECT_FALSE(exists(agent.path));
    EXPECT_TRUE(exists(trashed("a b.plist")));
    EXPECT_EQ(Trash::recordedOriginalPath(trashed("a b.plist")), agent.path);
}

TEST_F(LaunchItemRemovalTest, UserAgentGoneMeanwhileIsNoLongerThere) {
    LaunchItem agent = item(Scope::UserAgent, "Users/a/Library/LaunchAgents/a.plist");
    ASSERT_EQ(::unlink(agent.path.c_str()), 0);

    EXPECT_EQ(remove(agent, m_administrator), "No longer exists.");
}

TEST_F(LaunchItemRemovalTest, SystemItemIsMovedByTheAdministratorIntoADescribedTrashSlot) {
    // Something of the same name in the Trash keeps its place.
    m_fixture.file("Users/a/.local/share/Trash/files/d.plist", "older");
    const LaunchItem daemon = item(Scope::SystemDaemon, "Library/LaunchDaemons/d.plist");

    EXPECT_EQ(remove(daemon, m_administrator), std::nullopt);

    const std::string target = trashed("d.plist.2");
    EXPECT_EQ(m_administrator.calls(), (std::vector<CommandLine>{LaunchItem::systemRemovalCommand(
                                           Scope::SystemDaemon, daemon.path, target, uid)}));
    EXPECT_TRUE(exists(description("d.plist.2")));
    EXPECT_TRUE(m_processes.calls().empty());
}

TEST_F(LaunchItemRemovalTest, TheScriptMovesThePropertyListEvenWithoutALaunchTool) {
    const LaunchItem agent = item(Scope::SystemAgent, "Library/LaunchAgents/a.plist");

    EXPECT_EQ(remove(agent, DirectRunner()), std::nullopt);

    EXPECT_FALSE(exists(agent.path));
    EXPECT_EQ(Trash::recordedOriginalPath(trashed("a.plist")), agent.path);
}

TEST_F(LaunchItemRemovalTest, EveryOutcomeThatIsNoSuccessGivesASentenceAndTakesTheSlotBack) {
    struct Case {
        AdministratorStatus status;
        int exitStatus;
        std::string_view output;
        std::optional<std::string> message;
    };
    for (const Case& c : {
             Case{AdministratorStatus::Succeeded, 0, "", std::nullopt},
             Case{AdministratorStatus::Cancelled, 126, "", "Cancelled."},
             Case{AdministratorStatus::Failed, 1, "\nmv: cannot move: Busy\n",
                  "mv: cannot move: Busy"},
             Case{AdministratorStatus::Failed, 1, " \n", "Couldn't remove it."},
             // The runner could not start, or no authorisation could be asked for.
             Case{AdministratorStatus::Unavailable, -1, "", "Couldn't remove it."},
         }) {
        test::FixtureTree fixture;
        const Locations locations = Locations::inside(fixture.root());
        const Trash trash(locations, m_clock);
        test::FakeAdministratorRunner administrator;
        administrator.setResult({c.status, c.exitStatus, std::string(c.output)});
        LaunchItem agent;
        agent.path = fixture.file("Library/LaunchAgents/a.plist");
        agent.scope = Scope::SystemAgent;

        EXPECT_EQ(LaunchItem::remove(agent, uid, locations, trash, m_processes, administrator),
                  c.message)
            << c.output;
        EXPECT_EQ(exists(locations.homeTrash() + "/info/a.plist.trashinfo"), !c.message)
            << c.output;
    }
}

TEST_F(LaunchItemRemovalTest, UnsupportedNamesRunNothing) {
    test::FixtureTree quoted;
    const Locations quotedHome = Locations::inside(quoted.root(), "/Users/o'brien");
    const Trash quotedTrash(quotedHome, m_clock);
    LaunchItem system;
    system.path = quoted.file("Library/LaunchAgents/a.plist");
    system.scope = Scope::SystemAgent;
    EXPECT_EQ(
        LaunchItem::remove(system, uid, quotedHome, quotedTrash, m_processes, m_administrator),
        "Unsupported file name.");
    EXPECT_FALSE(exists(quotedHome.homeTrash()));

    for (const Scope scope : allLaunchScopes) {
        LaunchItem odd = item(scope, "Library/LaunchAgents/x.plist.bak");
        EXPECT_EQ(remove(odd, m_administrator), "Unsupported file name.");
        EXPECT_TRUE(exists(odd.path));
    }
    EXPECT_TRUE(m_administrator.calls().empty());
    EXPECT_TRUE(m_processes.calls().empty());
}

} // namespace
} // namespace dorvale
