#include "inventory/LaunchItem.hpp"

#include "support/FakeWorkspace.hpp"
#include "support/FixtureTree.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace dorvale {
namespace {

constexpr std::string_view userAgents = "Users/a/Library/LaunchAgents";
constexpr std::string_view systemAgents = "Library/LaunchAgents";
constexpr std::string_view systemDaemons = "Library/LaunchDaemons";

std::string plist(std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" +
           std::string(body) + "</dict></plist>\n";
}

std::string key(std::string_view name, std::string_view value) {
    return "<key>" + std::string(name) + "</key>" + std::string(value);
}

std::string text(std::string_view value) {
    return "<string>" + std::string(value) + "</string>";
}

class LaunchItemTest : public ::testing::Test {
protected:
    std::string agent(std::string_view folder, std::string_view name, std::string_view body) {
        return m_fixture.file(std::string(folder) + "/" + std::string(name), plist(body));
    }

    std::vector<LaunchItem> load() const { return LaunchItem::loadAll(m_locations, m_workspace); }

    const LaunchItem* find(const std::vector<LaunchItem>& items, std::string_view label) const {
        const auto found = std::find_if(items.begin(), items.end(), [&](const LaunchItem& item) {
            return item.label == label;
        });
        return found == items.end() ? nullptr : &*found;
    }

    test::FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root());
    test::FakeWorkspace m_workspace;
};

TEST_F(LaunchItemTest, ScopesHaveFixedRawValuesAndTitles) {
    struct Case {
        LaunchItem::Scope scope;
        std::string_view raw;
        std::string_view title;
    };
    for (const Case& c : {
             Case{LaunchItem::Scope::UserAgent, "userAgent", "Your login agents"},
             Case{LaunchItem::Scope::SystemAgent, "systemAgent", "Agents for all users"},
             Case{LaunchItem::Scope::SystemDaemon, "systemDaemon", "System daemons"},
         }) {
        EXPECT_EQ(rawValue(c.scope), c.raw);
        EXPECT_EQ(launchScopeFromRaw(c.raw), c.scope);
        EXPECT_EQ(title(c.scope), c.title);
    }
    EXPECT_EQ(launchScopeFromRaw("UserAgent"), std::nullopt);
    EXPECT_EQ(launchScopeFromRaw(""), std::nullopt);
}

TEST_F(LaunchItemTest, ReadsOnlyPropertyListDictionariesNamedDotPlist) {
    agent(userAgents, "a.plist", key("Label", text("com.example.a")));
    agent(userAgents, "b.PLIST", key("Label", text("com.example.b")));
    agent(userAgents, "c.txt", key("Label", text("com.example.c")));
    m_fixture.file(std::string(userAgents) + "/broken.plist", "<plist><dict><key>Label");
    m_fixture.file(std::string(userAgents) + "/empty.plist", "");
    m_fixture.file(std::string(userAgents) + "/array.plist",
                   "<plist version=\"1.0\"><array><string>x</string></array></plist>");
    m_fixture.folder(std::string(userAgents) + "/folder.plist");
    // A FIFO would block a plain read until someone wrote to it.
    m_fixture.fifo(std::string(userAgents) + "/pipe.plist");

    const std::vector<LaunchItem> items = load();
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0].label, "com.example.a");
    EXPECT_EQ(items[0].path, m_fixture.path(std::string(userAgents) + "/a.plist"));
}

TEST_F(LaunchItemTest, FillsEachFieldFromTheListOrItsDefault) {
    const std::string tool = m_fixture.file("Applications/Tool.app/Contents/MacOS/tool-agent");
    m_fixture.file("opt/bin/helper");
    m_workspace.addApplication("com.example.agent", m_fixture.path("Applications/Agent.app"));
    const std::string toolPlist =
        agent(userAgents, "tool.plist",
              key("Label", text("com.example.tool")) + key("Program", text(tool)) +
                  key("ProgramArguments", "<array><string>/ignored</string></array>") +
                  key("RunAtLoad", "<true/>") + key("KeepAlive", "<integer>1</integer>"));
    m_fixture.setTimes(std::string(userAgents) + "/tool.plist", 1'700'000'000, 1'700'000'000);
    agent(systemAgents, "com.example.agent.plist",
          key("ProgramArguments", "<array/>") + key("RunAtLoad", "<integer>2</integer>") +
              key("KeepAlive", "<dict><key>SuccessfulExit</key><false/></dict>"));
    agent(systemDaemons, "helper.plist",
          key("Label", "<integer>7</integer>") +
              key("ProgramArguments", "<array><string>" + m_fixture.path("opt/bin/helper") +
                                          "</string><string>--serve</string></array>") +
              key("RunAtLoad", "<real>1.0</real>") + key("KeepAlive", text("yes")));

    const std::vector<LaunchItem> items = load();
    ASSERT_EQ(items.size(), 3U);
    const LaunchItem* withTool = find(items, "com.example.tool");
    ASSERT_NE(withTool, nullptr);
    EXPECT_EQ(*withTool, (LaunchItem{
                             .path = toolPlist,
                             .label = "com.example.tool",
                             .program = tool,
                             .scope = LaunchItem::Scope::UserAgent,
                             .runAtLoad = true,
                             .keepAlive = true,
                             .ownerName = "Tool",
                             .ownerPath = m_fixture.path("Applications/Tool.app"),
                             .isOrphan = false,
                             .modified = 1'700'000'000,
                         }));

    // No label: the file name; an empty argument list: no program, owner by label.
    const LaunchItem* byLabel = find(items, "com.example.agent");
    ASSERT_NE(byLabel, nullptr);
    EXPECT_EQ(byLabel->program, std::nullopt);
    EXPECT_EQ(byLabel->scope, LaunchItem::Scope::SystemAgent);
    EXPECT_FALSE(byLabel->runAtLoad);
    EXPECT_TRUE(byLabel->keepAlive);
    EXPECT_EQ(byLabel->ownerName, "Agent");
    EXPECT_EQ(byLabel->ownerPath, m_fixture.path("Applications/Agent.app"));
    EXPECT_FALSE(byLabel->isOrphan);

    // A label of the wrong type counts as missing; a program outside any bundle whose
    // label names no application has no owner.
    const LaunchItem* outside = find(items, "helper");
    ASSERT_NE(outside, nullptr);
    EXPECT_EQ(outside->program, m_fixture.path("opt/bin/helper"));
    EXPECT_EQ(outside->scope, LaunchItem::Scope::SystemDaemon);
    EXPECT_TRUE(outside->runAtLoad);
    EXPECT_FALSE(outside->keepAlive);
    EXPECT_EQ(outside->ownerName, std::nullopt);
    EXPECT_EQ(outside->ownerPath, std::nullopt);
    EXPECT_FALSE(outside->isOrphan);
}

TEST_F(LaunchItemTest, AMissingProgramMakesAnOrphanThatKeepsItsBundleOwner) {
    const std::string gone = m_fixture.path("Applications/Gone.app/Contents/MacOS/gone");
    agent(userAgents, "gone.plist", key("Label", text("gone")) + key("Program", text(gone)));
    agent(userAgents, "bare.plist", key("Label", text("bare")) + key("Program", text("gone")));

    const std::vector<LaunchItem> items = load();
    ASSERT_EQ(items.size(), 2U);
    EXPECT_EQ(items[0].label, "gone");
    EXPECT_TRUE(items[0].isOrphan);
    EXPECT_EQ(items[0].ownerName, "Gone");
    EXPECT_EQ(items[0].ownerPath, m_fixture.path("Applications/Gone.app"));
    // A bare command name is found through the search path, so it is never an orphan.
    EXPECT_EQ(items[1].label, "bare");
    EXPECT_FALSE(items[1].isOrphan);
}

TEST_F(LaunchItemTest, SortsOrphansFirstThenByOwnerOrLabelWithoutCase) {
    const std::string present = m_fixture.file("bin/present");
    const std::string missing = m_fixture.path("bin/missing");
    agent(userAgents, "1.plist", key("Label", text("zeta")) + key("Program", text(present)));
    agent(userAgents, "2.plist", key("Label", text("b-agent")) + key("Program", text(missing)));
    agent(systemAgents, "3.plist", key("Label", text("Beta")) + key("Program", text(present)));
    agent(systemDaemons, "4.plist", key("Label", text("A-agent")) + key("Program", text(missing)));
    // Owned by "alpha", so it sorts under that name and not under its label.
    m_workspace.addApplication("com.example.zz", m_fixture.path("Applications/alpha.app"));
    agent(systemDaemons, "5.plist",
          key("Label", text("com.example.zz")) + key("Program", text(present)));
    // Same key as "Beta": they keep the order in which the folders were read.
    agent(systemDaemons, "6.plist", key("Label", text("beta")) + key("Program", text(present)));

    std::vector<std::string> labels;
    for (const LaunchItem& item : load()) {
        labels.push_back(item.label);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"A-agent", "b-agent", "com.example.zz", "Beta",
                                                "beta", "zeta"}));
}

TEST_F(LaunchItemTest, MissingFoldersGiveNothing) {
    EXPECT_TRUE(load().empty());
}

// Run as an unprivileged user: a folder that cannot be listed and a file that cannot be read
// are passed over, and a program behind a closed folder is not called an orphan.
TEST_F(LaunchItemTest, UnreadablePlacesAreSkippedWithoutLosingTheRest) {
    const std::string hidden = m_fixture.file("Closed/tool");
    m_fixture.setMode("Closed", 0);
    agent(userAgents, "mine.plist", key("Label", text("mine")) + key("Program", text(hidden)));
    agent(userAgents, "secret.plist", key("Label", text("secret")));
    m_fixture.setMode(std::string(userAgents) + "/secret.plist", 0);
    agent(systemAgents, "shared.plist", key("Label", text("shared")));
    agent(systemDaemons, "daemon.plist", key("Label", text("daemon")));
    m_fixture.setMode(systemDaemons, 0);

    const int status = test::runUnprivileged([this] {
        const std::vector<LaunchItem> items = load();
        if (items.size() != 2) {
            return 1;
        }
        if (items[0].label != "mine" || items[0].isOrphan) {
            return 2;
        }
        return items[1].label == "shared" ? 0 : 3;
    });
    EXPECT_EQ(status, 0);
}

} // namespace
} // namespace dorvale
