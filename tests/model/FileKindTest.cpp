#include "model/FileKind.hpp"

#include <gtest/gtest.h>

#include <string>

namespace dorvale {
namespace {

struct NameCase {
    std::string name;
    FileKind kind;

    friend std::ostream& operator<<(std::ostream& out, const NameCase& c) { return out << c.name; }
};

class FileKindForName : public testing::TestWithParam<NameCase> {};

TEST_P(FileKindForName, JudgesTheLastExtension) {
    EXPECT_EQ(fileKindForName(GetParam().name), GetParam().kind) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileKindForName,
    testing::Values(NameCase{"Photo.JPG", FileKind::Image},
                    NameCase{"archive.tar.gz", FileKind::Archive},
                    NameCase{".zshrc", FileKind::Other}, NameCase{"README", FileKind::Other},
                    NameCase{"notes.", FileKind::Other}, NameCase{"a", FileKind::Other},
                    NameCase{"x.abcdefghijklm", FileKind::Other},
                    NameCase{"x.sparseimage", FileKind::DiskImage},
                    NameCase{"x.exs", FileKind::Code}, NameCase{"x.Key", FileKind::Document},
                    NameCase{"Setup.PKG", FileKind::DiskImage}, NameCase{"lib.so", FileKind::Code},
                    // The Kelvin sign lower-cases to "k".
                    NameCase{"slides.\xE2\x84\xAA"
                             "ey",
                             FileKind::Document},
                    NameCase{"bad\xFF.pdf", FileKind::Document},
                    NameCase{"bad.\xFFpdf", FileKind::Other},
                    NameCase{std::string("nul\0.mp3", 8), FileKind::Audio}));

TEST(FileKind, TableHoldsEveryExtensionOnce) {
    const auto& table = extensionTable();
    EXPECT_EQ(table.size(), 183u);
    for (const auto& [extension, kind] : table) {
        EXPECT_NE(kind, FileKind::Application) << extension;
    }
}

TEST(FileKind, RawValuesFollowDeclarationOrder) {
    for (unsigned raw = 0; raw < allFileKinds.size(); ++raw) {
        EXPECT_EQ(fileKindFromRaw(raw), allFileKinds[raw]);
    }
    EXPECT_FALSE(fileKindFromRaw(9));
    EXPECT_EQ(title(FileKind::DiskImage), "Disk Images & Installers");
    EXPECT_EQ(color(FileKind::Video), (Rgb{255, 107, 138}));
}

} // namespace
} // namespace dorvale
