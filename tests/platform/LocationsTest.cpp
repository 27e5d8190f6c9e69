#include "platform/Locations.hpp"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace dorvale {
namespace {

// Sets environment variables for one test and puts the old values back afterwards.
class Environment {
public:
    ~Environment() {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    void set(const std::string& name, const char* value) {
        const char* old = std::getenv(name.c_str());
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) {
            setenv(name.c_str(), value, 1);
        } else {
            unsetenv(name.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(Locations, FromEnvironmentNormalisesAndIgnoresRelativeValues) {
    Environment environment;
    environment.set("HOME", "/home//someone/");
    environment.set("XDG_DATA_HOME", "relative/data");
    environment.set("XDG_CONFIG_HOME", "/cfg/");
    const Locations locations = Locations::fromEnvironment();
    EXPECT_EQ(locations.home, "/home/someone");
    EXPECT_EQ(locations.dataHome, "/home/someone/.local/share");
    EXPECT_EQ(locations.configHome, "/cfg");
    EXPECT_EQ(locations.dataVolume, "/");
    EXPECT_EQ(locations.systemPath("/Library/Logs"), "/Library/Logs");
    EXPECT_EQ(locations.applicationSupport(), "/home/someone/.local/share/Dorvale");
    EXPECT_EQ(locations.trashFolder(), "/home/someone/.local/share/Trash/files");
    EXPECT_EQ(locations.settingsFolder(), "/cfg/Dorvale");
    EXPECT_EQ(locations.autostartFolder(), "/cfg/autostart");
}

TEST(Locations, HomeFallsBackToThePasswordDatabase) {
    Environment environment;
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    for (const char* value : {static_cast<const char*>(nullptr), "relative/home"}) {
        environment.set("HOME", value);
        EXPECT_EQ(Locations::fromEnvironment().home, std::string(entry->pw_dir));
    }
}

TEST(Locations, InsideAFixture) {
    const Locations locations = Locations::inside("/tmp/f/");
    EXPECT_EQ(locations.home, "/tmp/f/Users/a");
    EXPECT_EQ(locations.dataVolume, "/tmp/f");
    EXPECT_EQ(locations.systemPath("/Library/Logs"), "/tmp/f/Library/Logs");
    EXPECT_EQ(
        locations.launchFolders(),
        (std::vector<std::string>{"/tmp/f/Users/a/Library/LaunchAgents",
                                  "/tmp/f/Library/LaunchAgents", "/tmp/f/Library/LaunchDaemons"}));
}

TEST(Locations, MatchingFormDropsTheDataVolume) {
    const Locations matching = Locations::inside("/tmp/f").matchingForm();
    EXPECT_EQ(matching.home, "/Users/a");
    EXPECT_EQ(matching.dataVolume, "/");
    EXPECT_EQ(matching.trashFolder(), "/Users/a/.local/share/Trash/files");
    EXPECT_EQ(matching.systemPath("/Library/Logs"), "/Library/Logs");

    Locations homeless = Locations::inside("/tmp/f");
    homeless.home.clear();
    EXPECT_EQ(homeless.matchingForm().home, "/");
}

} // namespace
} // namespace dorvale
