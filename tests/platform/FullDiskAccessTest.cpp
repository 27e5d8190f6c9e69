#include "platform/FullDiskAccess.hpp"

#include "support/FixtureTree.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>

namespace dorvale {
namespace {

constexpr std::string_view database = "Library/Application Support/com.apple.TCC/TCC.db";
constexpr std::string_view safari = "Users/a/Library/Safari";

enum class Lock { Absent, Open, Locked };

struct Case {
    const char* name;
    Lock database;
    Lock safari;
    bool lockedDatabaseFolder;
    bool granted;
};

// Builds the two probe locations as the case says; a locked one belongs to root and is
// closed to everyone else.
void build(test::FixtureTree& fixture, const Case& c) {
    if (c.database != Lock::Absent) {
        fixture.file(database, "SQLite format 3");
        if (c.database == Lock::Locked) {
            fixture.setOwner(database, 0, 0);
            fixture.setMode(database, 0600);
        }
    }
    if (c.lockedDatabaseFolder) {
        fixture.folder("Library/Application Support/com.apple.TCC");
        fixture.setOwner("Library/Application Support/com.apple.TCC", 0, 0);
        fixture.setMode("Library/Application Support/com.apple.TCC", 0700);
    }
    if (c.safari != Lock::Absent) {
        fixture.file(std::string(safari) + "/History.db", "");
        if (c.safari == Lock::Locked) {
            fixture.setOwner(safari, 0, 0);
            fixture.setMode(safari, 0700);
        }
    }
}

TEST(FullDiskAccess, ProbesTheDatabaseThenTheSafariFolder) {
    const Case cases[] = {
        {"no gate on this system", Lock::Absent, Lock::Absent, false, true},
        {"database readable", Lock::Open, Lock::Absent, false, true},
        {"database alone is enough", Lock::Open, Lock::Locked, false, true},
        {"database locked, no Safari folder", Lock::Locked, Lock::Absent, false, false},
        {"database locked, Safari listable", Lock::Locked, Lock::Open, false, true},
        {"both locked", Lock::Locked, Lock::Locked, false, false},
        {"database folder closed", Lock::Absent, Lock::Absent, true, false},
    };
    for (const Case& c : cases) {
        test::FixtureTree fixture;
        build(fixture, c);
        const Locations locations = Locations::inside(fixture.root());
        const int status = test::runUnprivileged(
            [&] { return FullDiskAccess::isGranted(locations) == c.granted ? 0 : 1; });
        EXPECT_EQ(status, 0) << c.name;
    }
}

} // namespace
} // namespace dorvale
