#include "support/Unprivileged.hpp"

#include "support/FixtureTree.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvale::test {
namespace {

// Permission tests rely on the child really losing root's rights.
TEST(RunUnprivileged, ChildCannotReadWhatOnlyRootMay) {
    FixtureTree fixture;
    const std::string secret = fixture.file("secret", "x");
    fixture.setMode("secret", 0600);
    const uid_t caller = getuid();
    const int status = runUnprivileged([&] {
        if (caller == 0 && (getuid() != unprivilegedId || getgid() != unprivilegedId)) {
            return 1;
        }
        return open(secret.c_str(), O_RDONLY) < 0 || caller != 0 ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
}

TEST(FixtureTree, AllocatedAndSparseFiles) {
    FixtureTree fixture;
    struct stat info {};
    ASSERT_EQ(lstat(fixture.allocatedFile("a", 1016 * 512).c_str(), &info), 0);
    EXPECT_EQ(info.st_blocks, 1016);
    ASSERT_EQ(lstat(fixture.sparseFile("b", 10'000'000).c_str(), &info), 0);
    EXPECT_EQ(info.st_blocks, 0);
    EXPECT_EQ(info.st_size, 10'000'000);
}

} // namespace
} // namespace dorvale::test
