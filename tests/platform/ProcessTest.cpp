#include "platform/Process.hpp"

#include "platform/AdministratorRunner.hpp"
#include "support/FixtureTree.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace dorvale {
namespace {

TEST(RunProcess, ReturnsStandardOutputAsValidUtf8WhateverTheExitStatus) {
    const std::string output =
        runProcess("/bin/sh", {"-c", "printf 'a\\377b'; echo hidden >&2; exit 3"});
    EXPECT_EQ(output, "a\xEF\xBF\xBD"
                      "b");
}

TEST(RunProcess, ToolsThatCannotStartYieldEmptyText) {
    EXPECT_EQ(runProcess("/nonexistent/tool", {}), "");
    // Relative names would depend on the working folder and are never run.
    EXPECT_EQ(runProcess("sh", {"-c", "echo x"}), "");
    EXPECT_EQ(runProcess("/", {}), "");
}

TEST(RunProcess, ArgumentsReachTheToolUnsplit) {
    EXPECT_EQ(runProcess("/usr/bin/printf", {"[%s]", "a b", "$HOME;*"}), "[a b][$HOME;*]");
}

// A tool that fills either pipe must neither stall nor lose output; one that reads standard
// input must see its end at once.
TEST(RunProcess, ReadsLargeOutputAndNeverWaitsOnInputOrErrors) {
    EXPECT_EQ(runProcess("/usr/bin/head", {"-c", "1000000", "/dev/zero"}).size(), 1'000'000U);
    EXPECT_EQ(runProcess("/bin/sh", {"-c", "head -c 1000000 /dev/zero >&2; echo done"}), "done\n");
    EXPECT_EQ(runProcess("/bin/cat", {}), "");
}

TEST(SpawnProcess, ReportsExitStatusAndSignals) {
    EXPECT_EQ(spawnProcess("/bin/sh", {"-c", "exit 7"}).exitStatus, 7);
    EXPECT_EQ(spawnProcess("/bin/sh", {"-c", "kill -TERM $$"}).exitStatus, 128 + 15);
    const ProcessOutcome missing = spawnProcess("/nonexistent/tool", {});
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.exitStatus, -1);
    EXPECT_EQ(
        spawnProcess("/bin/sh", {"-c", "echo out; echo err >&2"}, ErrorStream::Capture).output,
        "out\nerr\n");
}

// pkexec stands in as a script that runs the command it is given, so the command's own
// status plays the part of pkexec's answers.
class PkexecRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pkexec = m_fixture.file("pkexec", "#!/bin/sh\nexec \"$@\"\n");
        m_fixture.setMode("pkexec", 0755);
    }

    test::FixtureTree m_fixture;
    std::string m_pkexec;
};

TEST_F(PkexecRunnerTest, MapsExitStatusesToOutcomes) {
    const PkexecRunner runner(m_pkexec);
    const struct {
        int status;
        AdministratorStatus expected;
    } cases[] = {
        {0, AdministratorStatus::Succeeded},
        {126, AdministratorStatus::Cancelled},
        {127, AdministratorStatus::Unavailable},
        {3, AdministratorStatus::Failed},
    };
    for (const auto& c : cases) {
        const AdministratorResult result = runner.run(
            {"/bin/sh", "-c", "echo said; echo complained >&2; exit $0", std::to_string(c.status)});
        EXPECT_EQ(result.status, c.expected) << c.status;
        EXPECT_EQ(result.exitStatus, c.status);
        EXPECT_EQ(result.output, "said\ncomplained\n");
    }
}

TEST_F(PkexecRunnerTest, PassesTheArgumentVectorWithoutAShell) {
    const AdministratorResult result =
        PkexecRunner(m_pkexec).run({"/usr/bin/printf", "[%s]", "a b; touch x", "$(id)"});
    EXPECT_EQ(result.status, AdministratorStatus::Succeeded);
    EXPECT_EQ(result.output, "[a b; touch x][$(id)]");
}

TEST_F(PkexecRunnerTest, UnstartableCommandsAreUnavailable) {
    const AdministratorResult noPkexec = PkexecRunner("/nonexistent/pkexec").run({"/bin/true"});
    EXPECT_EQ(noPkexec.status, AdministratorStatus::Unavailable);
    EXPECT_EQ(noPkexec.exitStatus, -1);
    const PkexecRunner runner(m_pkexec);
    EXPECT_EQ(runner.run({}).status, AdministratorStatus::Unavailable);
    EXPECT_EQ(runner.run({"true"}).status, AdministratorStatus::Unavailable);
}

} // namespace
} // namespace dorvale
