#include "inventory/LocalSnapshot.hpp"

#include "support/FakeProcessRunner.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace dorvale {
namespace {

// Runs each test in a time zone of its choosing and puts the old one back afterwards.
class LocalSnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* zone = std::getenv("TZ");
        m_previousZone = zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
        useZone("UTC0");
    }

    void TearDown() override {
        if (m_previousZone) {
            setenv("TZ", m_previousZone->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    static void useZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

    std::vector<LocalSnapshot> listing(std::string output) {
        m_tool.respond("/usr/bin/tmutil", {"listlocalsnapshots", "/"}, std::move(output));
        return LocalSnapshots::list(m_tool);
    }

    test::FakeProcessRunner m_tool;
    test::FakeAdministratorRunner m_administrator;

private:
    std::optional<std::string> m_previousZone;
};

TEST_F(LocalSnapshotTest, ListsTheToolsSnapshotsNewestFirstAndUndatedLast) {
    const std::vector<LocalSnapshot> snapshots =
        listing("Snapshots for disk /:\n"
                "com.apple.TimeMachine.2024-05-01-101500.local\n"
                "\n"
                "com.apple.os.update-ABC123\n"
                "  \tcom.apple.TimeMachine.2024-05-02-080000.local \t\n"
                "com.example.backup.2024-06-01-000000.local\n"
                "com.apple.TimeMachine\n"
                "com.apple.TimeMachine.2024-13-45-999999.local\n"
                "com.apple.second.2024-05-01-101500.local\n"
                "\xC2\xA0"
                "com.apple.TimeMachine.2024-01-15-120000.local");

    EXPECT_EQ(snapshots, (std::vector<LocalSnapshot>{
                             {"com.apple.TimeMachine.2024-05-02-080000.local", 1714636800},
                             {"com.apple.TimeMachine.2024-05-01-101500.local", 1714558500},
                             {"com.apple.second.2024-05-01-101500.local", 1714558500},
                             {"com.apple.TimeMachine.2024-01-15-120000.local", 1705320000},
                             {"com.apple.os.update-ABC123", std::nullopt},
                             {"com.apple.TimeMachine", std::nullopt},
                             {"com.apple.TimeMachine.2024-13-45-999999.local", std::nullopt},
                         }));
    EXPECT_EQ(m_tool.calls(),
              (std::vector<test::CommandLine>{{"/usr/bin/tmutil", "listlocalsnapshots", "/"}}));
}

// A tool that cannot be started prints nothing.
TEST_F(LocalSnapshotTest, NoOutputMeansNoSnapshots) {
    EXPECT_TRUE(listing("").empty());
    EXPECT_TRUE(listing("No local snapshots\n").empty());
}

TEST_F(LocalSnapshotTest, DateStampIsTheFourthNonEmptyPiece) {
    EXPECT_EQ(LocalSnapshots::dateStamp("com.apple.TimeMachine.2024-05-01-101500.local"),
              "2024-05-01-101500");
    EXPECT_EQ(LocalSnapshots::dateStamp("com..apple.TimeMachine..2024-05-01-101500"),
              "2024-05-01-101500");
    EXPECT_EQ(LocalSnapshots::dateStamp("com.apple.os.update-ABC123"), "update-ABC123");
    EXPECT_EQ(LocalSnapshots::dateStamp("com.apple.TimeMachine."), std::nullopt);
    EXPECT_EQ(LocalSnapshots::dateStamp(""), std::nullopt);
}

TEST_F(LocalSnapshotTest, ParsesOnlyRealDatesOfTheExactShape) {
    struct Case {
        std::string_view stamp;
        std::optional<Timestamp> expected;
    };
    for (const Case& c : {
             Case{"2024-05-01-101500", 1714558500},
             Case{"2024-02-29-235959", 1709251199},
             Case{"2023-02-29-000000", std::nullopt},
             Case{"2024-13-45-999999", std::nullopt},
             Case{"2024-05-01-240000", std::nullopt},
             Case{"2024-05-01-106000", std::nullopt},
             Case{"2024-05-01-101560", std::nullopt},
             Case{"2024-5-01-101500", std::nullopt},
             Case{"2024-05-01-1015000", std::nullopt},
             Case{"2024-05-01 101500", std::nullopt},
             Case{"+024-05-01-101500", std::nullopt},
             Case{"", std::nullopt},
         }) {
        EXPECT_EQ(LocalSnapshots::parseDate(c.stamp), c.expected) << c.stamp;
    }
}

TEST_F(LocalSnapshotTest, ReadsStampsInTheLocalTimeZone) {
    useZone("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(LocalSnapshots::parseDate("2024-05-01-101500"), 1714551300); // summer, UTC+2
    EXPECT_EQ(LocalSnapshots::parseDate("2024-01-15-120000"), 1705316400); // winter, UTC+1
}

TEST_F(LocalSnapshotTest, DeletesOnlyNamesWithAPlainStampPassedAsOneArgument) {
    struct Case {
        std::string_view name;
        bool runs;
    };
    for (const Case& c : {
             Case{"com.apple.TimeMachine.2024-05-01-101500.local", true},
             Case{"com.apple.TimeMachine.2024-13-45-999999.local", true},
             // Other scripts' digits are number characters too.
             Case{"com.apple.TimeMachine.\xD9\xA2\xD9\xA0\xD9\xA2\xD9\xA4.local", true},
             Case{"com.apple.os.update-ABC123", false},
             Case{"com.apple.TimeMachine", false},
             Case{"com.apple.TimeMachine.2024-05-01 101500.local", false},
             Case{"com.apple.TimeMachine.2024$(reboot).local", false},
             Case{"com.apple.TimeMachine.2024;rm -rf ~.local", false},
             // The tool would take a leading hyphen for the start of an option.
             Case{"com.apple.TimeMachine.-1.local", false},
             Case{"com.apple.TimeMachine.--all.local", false},
         }) {
        test::FakeAdministratorRunner runner;
        const std::optional<std::string> message =
            LocalSnapshots::deleteSnapshot({std::string(c.name), std::nullopt}, runner);
        if (c.runs) {
            EXPECT_EQ(message, std::nullopt) << c.name;
            const std::string stamp(*LocalSnapshots::dateStamp(c.name));
            EXPECT_EQ(runner.calls(), (std::vector<test::CommandLine>{
                                          {"/usr/bin/tmutil", "deletelocalsnapshots", stamp}}))
                << c.name;
        } else {
            EXPECT_EQ(message, "Unrecognised snapshot name.") << c.name;
            EXPECT_TRUE(runner.calls().empty()) << c.name;
        }
    }
}

TEST_F(LocalSnapshotTest, EveryOutcomeThatIsNoSuccessGivesASentence) {
    struct Case {
        AdministratorStatus status;
        int exitStatus;
        std::string_view output;
        std::optional<std::string> message;
    };
    const Case cases[] = {
        {AdministratorStatus::Succeeded, 0, "Deleted local snapshot\n", std::nullopt},
        {AdministratorStatus::Cancelled, 126, "", "Cancelled."},
        {AdministratorStatus::Failed, 1, "\nFailed to delete: No such snapshot\n",
         "Failed to delete: No such snapshot"},
        {AdministratorStatus::Failed, 1, " \n", "Couldn't delete the snapshot."},
        {AdministratorStatus::Unavailable, -1, "", "Couldn't delete the snapshot."},
        {AdministratorStatus::Unavailable, 127, "Not authorized\n", "Not authorized"},
    };
    for (const Case& c : cases) {
        test::FakeAdministratorRunner runner;
        runner.setResult({c.status, c.exitStatus, std::string(c.output)});
        EXPECT_EQ(LocalSnapshots::deleteSnapshot(
                      {"com.apple.TimeMachine.2024-05-01-101500.local", 1714558500}, runner),
                  c.message)
            << c.output;
    }
}

} // namespace
} // namespace dorvale
