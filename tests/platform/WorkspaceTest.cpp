#include "platform/Workspace.hpp"

#include "platform/DesktopServices.hpp"
#include "support/FixtureTree.hpp"

#include <gtest/gtest.h>

#include <set>

namespace dorvale {
namespace {

class WorkspaceTest : public ::testing::Test {
protected:
    // An application bundle with this identifier; "" writes no Info.plist.
    std::string bundle(const std::string& relative, const std::string& identifier) {
        const std::string path = m_fixture.folder(relative + "/Contents/MacOS");
        if (!identifier.empty()) {
            m_fixture.file(relative + "/Contents/Info.plist",
                           "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                           "<key>CFBundleIdentifier</key><string>" +
                               identifier + "</string></dict></plist>");
        }
        return m_fixture.path(relative);
    }

    test::FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root());
};

TEST_F(WorkspaceTest, ListsBundlesOfTheApplicationFoldersOneFolderDeep) {
    bundle("Applications/Editor.app", "com.example.Editor");
    bundle("Applications/Tools/Foo.app", "com.example.Foo");
    bundle("Applications/A/B/Deep.app", "com.example.Deep");
    bundle("Applications/Utilities/Terminal.app", "com.example.Terminal");
    bundle("Users/a/Applications/Mine.app", "com.example.Mine");
    m_fixture.file("Applications/Notes.txt", "");
    m_fixture.file("Applications/.app", "");
    m_fixture.folder("Elsewhere/Linked.app");
    m_fixture.symlink(m_fixture.path("Elsewhere"), "Applications/Link");
    EXPECT_EQ(SystemWorkspace::applicationBundlePaths(m_locations),
              (std::vector<std::string>{
                  m_fixture.path("Applications/Editor.app"),
                  m_fixture.path("Applications/Tools/Foo.app"),
                  m_fixture.path("Users/a/Applications/Mine.app"),
                  m_fixture.path("Applications/Utilities/Terminal.app"),
              }));
}

TEST_F(WorkspaceTest, FindsAnApplicationByIdentifierInAnyCase) {
    const std::string editor = bundle("Applications/Editor.app", "com.example.Editor");
    bundle("Users/a/Applications/Editor.app", "com.example.Editor");
    bundle("Applications/Bare.app", "");
    const SystemWorkspace workspace(m_locations);
    EXPECT_EQ(workspace.applicationPath("com.example.Editor"), editor);
    EXPECT_EQ(workspace.applicationPath("COM.EXAMPLE.editor"), editor);
    EXPECT_EQ(workspace.applicationPath("com.example.Edit"), std::nullopt);
    EXPECT_EQ(workspace.applicationPath(""), std::nullopt);
}

// A stand-in process table: each numbered folder's "exe" link leads to its program.
TEST_F(WorkspaceTest, RunningApplicationsComeFromProgramsInsideBundles) {
    const std::string editor = bundle("Applications/Editor.app", "com.example.Editor");
    const std::string viewer = bundle("Users/a/Applications/Viewer.app", "com.example.Viewer");
    const std::string bare = bundle("Applications/Bare.app", "");
    const auto process = [&](const std::string& pid, const std::string& program) {
        m_fixture.folder("proc/" + pid);
        m_fixture.symlink(program, "proc/" + pid + "/exe");
    };
    process("10", "/usr/bin/env");
    process("11", viewer + "/Contents/MacOS/viewer");
    process("12", editor + "/Contents/MacOS/Editor");
    process("13", editor + "/Contents/MacOS/helper (deleted)");
    process("14", bare + "/Contents/MacOS/bare");
    process("self", editor + "/Contents/MacOS/Editor");
    m_fixture.folder("proc/15");
    const SystemWorkspace workspace(m_locations, DesktopServices::none(), m_fixture.path("proc"));
    const std::vector<std::string> running = workspace.runningBundleIdentifiers();
    // Folders come in the file system's order, so only the set is fixed.
    EXPECT_EQ(std::set<std::string>(running.begin(), running.end()),
              (std::set<std::string>{"com.example.Editor", "com.example.Viewer"}));
    EXPECT_EQ(running.size(), 2U);
}

class RecordingDesktop final : public DesktopServices {
public:
    void open(const std::string& path) override { opened.push_back(path); }
    void reveal(const std::vector<std::string>& paths) override { revealed.push_back(paths); }

    std::vector<std::string> opened;
    std::vector<std::vector<std::string>> revealed;
};

TEST_F(WorkspaceTest, OpenAndRevealGoToTheDesktop) {
    RecordingDesktop desktop;
    SystemWorkspace workspace(m_locations, desktop);
    workspace.open("/a/b");
    workspace.reveal({"/a/b", "/c"});
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"/a/b"});
    EXPECT_EQ(desktop.revealed, (std::vector<std::vector<std::string>>{{"/a/b", "/c"}}));
}

TEST(FileUri, EncodesEveryByteButUnreservedOnes) {
    EXPECT_EQ(fileUri("/home/a/Report 2024 #1.pdf"), "file:///home/a/Report%202024%20%231.pdf");
    EXPECT_EQ(fileUri("/tmp/caf\xC3\xA9/\xFF%"), "file:///tmp/caf%C3%A9/%FF%25");
    EXPECT_EQ(fileUri("/a-b_c.d~"), "file:///a-b_c.d~");
}

} // namespace
} // namespace dorvale
