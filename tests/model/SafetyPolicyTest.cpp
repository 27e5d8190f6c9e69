#include "model/SafetyPolicy.hpp"

#include "model/JunkRule.hpp"
#include "support/FakeWorkspace.hpp"
#include "support/FixtureTree.hpp"
#include "support/TestValues.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dorvale {
namespace {

using namespace std::string_literals;
using test::catalogueRule;

constexpr auto safe = Risk::Safe;
constexpr auto review = Risk::Review;
constexpr auto locked = Risk::Protected;

const std::string rootFolder = "Root folder of the system or your user account.";
const std::string sip = "Part of macOS, protected by System Integrity Protection (SIP).";
const std::string operatingSystem = "Part of the operating system, protected from deletion.";
const std::string uncheckable = "This path can’t be checked safely, so Dorvale leaves it alone.";
const std::string keptFolder =
    "Folder used by macOS. Dorvale empties its contents but keeps the folder.";
const std::string standardFolder =
    "Standard folder in your user account. You can delete its contents, but not the folder.";
const std::string appSettings = "App settings. Deleting them resets the apps.";
const std::string appData =
    "App data. The app may lose settings or content if it’s still installed.";
const std::string sharedFile =
    "Shared file used by the system or a tool. May require an administrator password.";
const std::string personalFile = "Personal file. Make sure you have a backup if it matters.";
const std::string download = "Download. Make sure you don’t need it.";
const std::string reviewFirst = "Review before deleting.";
const std::string application = "Application. Use Uninstall to remove its data too.";
const std::string mediaLibrary = "Your photo or music library. Manage it from its app.";

std::string insidePackage(const std::string& extension) {
    return "Inside a ." + extension +
           " package. Deleting individual pieces corrupts it; remove the whole package if you "
           "no longer use it.";
}

// A home folder on a system with a separate data volume, and nothing on disk.
Locations homeOfA() {
    Locations locations;
    locations.home = "/Users/a";
    locations.dataVolume = "/System/Volumes/Data";
    locations.dataHome = "/Users/a/.local/share";
    locations.configHome = "/Users/a/.config";
    return locations;
}

struct Case {
    std::string path;
    Risk risk;
    std::string reason;
};

void expectVerdicts(const SafetyPolicy& policy, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(policy.verdict(c.path), (SafetyVerdict{c.risk, c.reason})) << "path " << c.path;
    }
}

TEST(SafetyPolicy, GivesEachPathTheVerdictOfTheFirstTestThatApplies) {
    const test::FakeWorkspace workspace;
    const Locations locations = homeOfA();
    const SafetyPolicy policy(locations, workspace);
    expectVerdicts(
        policy,
        {
            // Roots of the system and of the account, also written with the data volume.
            {"/", locked, rootFolder},
            {"/Users", locked, rootFolder},
            {"/Users/a", locked, rootFolder},
            {"/Applications", locked, rootFolder},
            {"/Library", locked, rootFolder},
            {"/Volumes", locked, rootFolder},
            {"/System", locked, rootFolder},
            {"/etc", locked, rootFolder},
            {"/System/Volumes/Data", locked, rootFolder},
            {"/System/Volumes/Data/Users", locked, rootFolder},
            {"", locked, rootFolder},
            // System trees, each row covering itself and what lies beneath, nothing beside it.
            {"/System/Library/Fonts/x", locked, sip},
            {"/bin/sh", locked, "Core macOS tools."},
            {"/usr/bin/ls", locked, "macOS tools."},
            {"/usr/lib/libc.so", locked, "macOS libraries."},
            {"/usr/share/doc", locked, "macOS data."},
            {"/private/var/db/x", locked, "System databases (security, updates, users)."},
            {"/Library/Application Support/com.apple.TCC/TCC.db", locked,
             "Privacy and permissions database."},
            {"/MobileSoftwareUpdate/x", locked, "macOS updates in progress."},
            {"/Systemic/x", review, reviewFirst},
            {"/usr/local/bin/tool", review, sharedFile},
            // This system's own trees come after the rows above.
            {"/etc/passwd", locked, operatingSystem},
            {"/boot/vmlinuz", locked, operatingSystem},
            {"/proc/1/status", locked, operatingSystem},
            {"/lib64/ld-linux-x86-64.so.2", locked, operatingSystem},
            {"/var/lib/dpkg", locked, operatingSystem},
            {"/var/log/syslog", review, reviewFirst},
            {"/lib32x/y", review, reviewFirst},
            // Base folders of the junk catalogue are kept, their contents follow their rule.
            {"/Users/a/Library/Caches", locked, keptFolder},
            {"/Library/Logs", locked, keptFolder},
            {"/Users/a/Downloads", locked, keptFolder},
            {"/Users/a/.local/share/Trash/files", locked, keptFolder},
            {"/Users/a/Library/Caches/com.example.Editor", safe,
             catalogueRule("user-caches").explanation},
            {"/Library/Logs/install.log", review, catalogueRule("system-logs").explanation},
            {"/Users/a/.local/share/Trash/files/old.txt", safe, catalogueRule("trash").explanation},
            {"/Users/a/Downloads/setup.dmg", review, catalogueRule("old-installers").explanation},
            {"/Users/a/Library/Caches/com.apple.bird", review, appData},
            // The home folder.
            {"/Users/a/Desktop", locked, standardFolder},
            {"/Users/a/Library", locked, standardFolder},
            {"/Users/a/Desktop/notes.txt", review, personalFile},
            {"/Users/a/Library/Preferences", review, appSettings},
            {"/Users/a/Library/Preferences/x.plist", review, appSettings},
            {"/Users/a/Library/Containers/com.apple.Safari", locked, "Apple app data."},
            {"/Users/a/Library/Containers/com.applesauce", review, appData},
            {"/Users/a/Library/Mail/V10/INBOX", locked,
             "Your Mail mailboxes. Manage your email from the Mail app."},
            {"/Users/a/Library/CloudStorage/Dropbox", locked,
             "Synced files (Dropbox, Google Drive, OneDrive…). They would also be deleted from the "
             "cloud."},
            {"/Users/a/Library/Application Support/Editor", review, appData},
            {"/Users/a/Downloads/photo.jpg", safe, download},
            {"/Users/a/.Trash", review, personalFile},
            {"/Users/a/Projects/x", review, personalFile},
            {"/System/Volumes/Data/Users/a/Downloads/photo.jpg", safe, download},
            // Packages and libraries.
            {"/Users/a/Pictures/Photos Library.photoslibrary", locked, mediaLibrary},
            {"/Users/a/Music/Music.musiclibrary", locked, mediaLibrary},
            {"/Users/a/Pictures/Photos Library.photoslibrary/database/x", locked,
             insidePackage("photoslibrary")},
            {"/Applications/Editor.app/Contents/MacOS/editor", locked, insidePackage("app")},
            {"/Users/a/Music/Song.logicx/Alternatives", locked, insidePackage("logicx")},
            {"/Applications/Missing.app", review, application},
            // Everything else.
            {"/Library/Fonts/x.ttf", review, sharedFile},
            {"/opt/tool/bin", review, sharedFile},
            {"/tmp/x", review, reviewFirst},
            {"/Users/b/notes", review, reviewFirst},
        });
}

// Whatever way a path is written, it never gets a weaker verdict than the path itself.
TEST(SafetyPolicy, JudgesEverySpellingOfAPathAsThePathItself) {
    const test::FakeWorkspace workspace;
    Locations locations = homeOfA();
    locations.home = "/Users//a/";
    const SafetyPolicy policy(locations, workspace);
    expectVerdicts(
        policy,
        {
            {"//Users//a/", locked, rootFolder},
            {"/Users/a/Documents/..", locked, rootFolder},
            {"/Users/a/./Desktop/", locked, standardFolder},
            {"/Users/a/Downloads/../Desktop", locked, standardFolder},
            {"/Users/a/Downloads/x/../../Library/Keychains/login.db", locked,
             "Your keychains: passwords, keys and certificates."},
            {"/Users/a/Library/Caches/", locked, keptFolder},
            {"/System/Volumes/Data//Users/a/Library/Caches/.", locked, keptFolder},
            {"/usr//bin/../sbin/x", locked, "macOS tools."},
            {"/../../etc/shadow", locked, operatingSystem},
            {"../etc/shadow", locked, uncheckable},
            {"Downloads/../../x", locked, uncheckable},
            // The system reads a path only up to a NUL byte: this one names the Desktop folder.
            {"/Users/a/Desktop\0/notes.txt"s, locked, uncheckable},
            {"/Users/a/Downloads/./photo.jpg", safe, download},
        });
}

class SafetyPolicyBundles : public ::testing::Test {
protected:
    test::FixtureTree fixture;
    Locations locations = Locations::inside(fixture.root());
    test::FakeWorkspace workspace;
    SafetyPolicy policy{locations, workspace};

    std::string bundle(const std::string& relative, const std::string& identifier) {
        fixture.file(relative + "/Contents/Info.plist",
                     "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                     "<key>CFBundleIdentifier</key><string>" +
                         identifier + "</string></dict></plist>");
        return fixture.path(relative);
    }
};

// The bundle is read where it lies, beneath the data volume, while the tests see the path
// without that prefix.
TEST_F(SafetyPolicyBundles, ReadsTheBundleToJudgeAnApplication) {
    const std::string apple = bundle("Applications/Numbers.app", "com.apple.iWork.Numbers");
    const std::string own = bundle("Applications/Dorvale.app", "app.dorvale.Dorvale");
    const std::string editor = bundle("Users/a/Applications/Editor.app", "com.example.Editor");
    fixture.folder("Applications/Bare.app/Contents");
    fixture.file("Applications/Flat.app", "not a bundle");
    expectVerdicts(policy,
                   {
                       {apple, locked, "Apple app included with macOS or required by the system."},
                       {own, locked, "This is Dorvale."},
                       {editor, review, application},
                       {fixture.path("Applications/Bare.app"), review, application},
                       {fixture.path("Applications/Flat.app"), review, application},
                       {fixture.path("System/Applications/Mail.app"), locked, sip},
                   });
}

TEST_F(SafetyPolicyBundles, AnOpenApplicationIsProtectedUntilItQuits) {
    const std::string editor = bundle("Applications/Editor.app", "com.example.Editor");
    workspace.setRunning({"com.example.Other", "com.example.Editor"});
    EXPECT_EQ(policy.verdict(editor),
              (SafetyVerdict{locked, "The app is open. Quit it before removing it."}));
    workspace.setRunning({"com.example.Other"});
    EXPECT_EQ(policy.verdict(editor), (SafetyVerdict{review, application}));
}

TEST(Risk, IsOrderedAndConvertsFromItsRawValue) {
    EXPECT_LT(Risk::Safe, Risk::Review);
    EXPECT_LT(Risk::Review, Risk::Protected);
    for (const Risk risk : allRisks) {
        EXPECT_EQ(riskFromRaw(rawValue(risk)), risk);
    }
    EXPECT_EQ(riskFromRaw(-1), std::nullopt);
    EXPECT_EQ(riskFromRaw(3), std::nullopt);
    EXPECT_EQ(title(Risk::Safe), "Safe");
    EXPECT_EQ(title(Risk::Review), "Review");
    EXPECT_EQ(title(Risk::Protected), "Protected");
}

} // namespace
} // namespace dorvale
