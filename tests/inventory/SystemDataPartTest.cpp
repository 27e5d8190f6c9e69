#include "inventory/SystemDataPart.hpp"

#include "inventory/ScanLookup.hpp"
#include "model/Scanner.hpp"
#include "support/FixtureTree.hpp"
#include "support/TreeBuilder.hpp"

#include <gtest/gtest.h>

#include <map>

namespace dorvale {
namespace {

// The plain layout, where a real path is its own matching path, and a data volume mounted
// beneath a prefix.
const Locations layouts[] = {Locations::inside("/"), Locations::inside("/System/Volumes/Data")};

MatchingPath seen(std::string_view path) {
    return MatchingPath::asSeenFromRoot(path);
}

ScanLookup lookupIn(const ScanResult& scan, const Locations& locations) {
    return [&scan, &locations](const MatchingPath& path) {
        return nodeFromLastScan(scan, path, locations.dataVolume);
    };
}

TEST(NodeFromLastScan, FindsNodesBeneathTheScannedRootInEveryLayout) {
    for (const Locations& locations : layouts) {
        const std::string& volume = locations.dataVolume;
        test::TreeBuilder disk{volume};
        FileNode* library = disk.folder(disk.root(), "Library");
        FileNode* caches = disk.folder(library, "Caches");
        const FileNode* logs = disk.folder(library, "Logs");
        ScanResult diskScan = disk.finish();
        diskScan.markDeleted(*logs);

        test::TreeBuilder home{locations.home + "/"};
        FileNode* b = home.folder(home.root(), "b");
        const ScanResult homeScan = home.finish();

        struct Case {
            const ScanResult& scan;
            MatchingPath path;
            const FileNode* expected;
        };
        for (const Case& c : {
                 Case{diskScan, seen("/Library/Caches"), caches},
                 Case{diskScan, seen("/Library//Caches/"), caches},
                 Case{diskScan, seen("/"), diskScan.root},
                 Case{diskScan, seen("/library/caches"), nullptr},
                 Case{diskScan, seen("/Library/Logs"), nullptr},
                 Case{diskScan, seen("/Library/Caches/com.example"), nullptr},
                 Case{diskScan,
                      MatchingPath::ofRealPath(locations.systemPath("/Library/Caches"), volume),
                      caches},
                 Case{homeScan, seen("/Users/a/b"), b},
                 Case{homeScan, MatchingPath::ofRealPath(locations.homePath("b"), volume), b},
                 Case{homeScan, seen("/Users/a"), homeScan.root},
                 Case{homeScan, seen("/Library/Caches"), nullptr},
                 // A plain text prefix would take the child "b" of /Users/a for /Users/ab.
                 Case{homeScan, seen("/Users/ab"), nullptr},
             }) {
            EXPECT_EQ(lookupIn(c.scan, locations)(c.path), c.expected)
                << volume << ": " << c.path.text();
        }
        EXPECT_EQ(nodeFromLastScan(ScanResult{}, seen("/Library"), volume), nullptr);
    }
}

TEST(SystemDataPartLookUp, AsksForEachPlaceAsSeenFromTheRootInEveryLayout) {
    for (const Locations& locations : layouts) {
        test::TreeBuilder disk{locations.dataVolume};
        FileNode* library = disk.folder(disk.root(), "Library");
        disk.file(disk.folder(library, "Caches"), "cache.db", 600'000);
        FileNode* var = disk.folder(disk.folder(disk.root(), "private"), "var");
        disk.file(disk.folder(var, "log"), "system.log", 700'000);
        const ScanResult scan = disk.finish();

        const std::vector<std::optional<std::int64_t>> sizes =
            SystemDataPart::lookUpSizes(lookupIn(scan, locations));

        std::map<std::string_view, std::int64_t> found;
        for (std::size_t index = 0; index < sizes.size(); ++index) {
            if (sizes[index]) {
                found.emplace(SystemDataPart::catalogue()[index].id, *sizes[index]);
            }
        }
        EXPECT_EQ(found, (std::map<std::string_view, std::int64_t>{{"caches", 600'000},
                                                                   {"logs", 700'000}}))
            << locations.dataVolume;
    }
}

class SystemDataPartTest : public ::testing::Test {
protected:
    std::int64_t sizeOf(const std::string& relative) {
        return Scanner::directorySize(m_fixture.path(relative)).bytes;
    }

    std::map<std::string, SystemDataPart> byId(const std::vector<SystemDataPart>& parts) {
        std::map<std::string, SystemDataPart> found;
        for (const SystemDataPart& part : parts) {
            found.emplace(part.id, part);
        }
        return found;
    }

    test::FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root());
};

TEST_F(SystemDataPartTest, MeasuresThePlacesThatExistLargestFirst) {
    m_fixture.allocatedFile("private/var/log/system.log", 40'960);
    m_fixture.allocatedFile("Library/Caches/shared/cache.db", 409'600);
    m_fixture.folder("Library/Updates");

    const std::vector<SystemDataPart> parts =
        SystemDataPart::measureAll(m_locations, [](const MatchingPath&) { return nullptr; });
    ASSERT_EQ(parts.size(), 3U);
    EXPECT_EQ(parts[0], (SystemDataPart{
                            .id = "caches",
                            .title = "Shared caches",
                            .explanation = "Caches shared by all users and system services.",
                            .advice = "Usually safe to let macOS manage. Dorvale's Junk view "
                                      "covers your own caches.",
                            .size = sizeOf("Library/Caches"),
                            .path = m_fixture.path("Library/Caches"),
                            .risk = Risk::Review,
                            .symbol = "shippingbox",
                        }));
    EXPECT_EQ(parts[1].id, "logs");
    EXPECT_EQ(parts[1].size, sizeOf("private/var/log"));
    // An empty folder still owns its own blocks; places that do not exist are left out.
    EXPECT_EQ(parts[2].id, "updates");
    EXPECT_EQ(parts[2].size, sizeOf("Library/Updates"));
}

TEST_F(SystemDataPartTest, PrefersThePlaceOnTheDataVolume) {
    Locations locations = m_locations;
    locations.dataVolume = m_fixture.path("System/Volumes/Data");
    m_fixture.allocatedFile("System/Volumes/Data/private/var/vm/swapfile0", 8192);
    m_fixture.allocatedFile("private/var/vm/ignored", 819'200);
    m_fixture.allocatedFile("private/var/log/system.log", 4096);

    const auto parts =
        byId(SystemDataPart::measureAll(locations, [](const MatchingPath&) { return nullptr; }));
    ASSERT_EQ(parts.size(), 2U);
    EXPECT_EQ(parts.at("vm").path, m_fixture.path("System/Volumes/Data/private/var/vm"));
    EXPECT_EQ(parts.at("vm").size, sizeOf("System/Volumes/Data/private/var/vm"));
    EXPECT_EQ(parts.at("logs").path, m_fixture.path("private/var/log"));
}

// A place the last scan covered takes the scanned size without a walk, even when the disk
// now holds something else or nothing at all; places it did not cover are walked.
TEST_F(SystemDataPartTest, TakesSizesFromTheLastScanWhereItHasThem) {
    m_fixture.allocatedFile("Library/Caches/big", 4'000'000);
    m_fixture.allocatedFile("private/var/log/system.log", 4096);

    test::TreeBuilder builder{m_fixture.root()};
    FileNode* library = builder.folder(builder.root(), "Library");
    builder.file(builder.folder(library, "Caches"), "a", 500'000);
    builder.file(builder.folder(library, "Updates"), "b", 500'000);
    builder.file(builder.folder(builder.folder(builder.root(), "private"), "folders"), "c", 0);
    const ScanResult scan = builder.finish();

    std::vector<std::string> asked;
    const std::vector<SystemDataPart> parts =
        SystemDataPart::measureAll(m_locations, [&](const MatchingPath& path) {
            asked.emplace_back(path.text());
            return nodeFromLastScan(scan, path, m_locations.dataVolume);
        });

    std::vector<std::string> expectedAsked;
    for (const SystemDataComponent& component : SystemDataPart::catalogue()) {
        expectedAsked.emplace_back(component.path);
    }
    EXPECT_EQ(asked, expectedAsked);

    // Equal sizes keep the catalogue's order: updates before caches. The scanned "tmp" is
    // empty and left out.
    ASSERT_EQ(parts.size(), 3U);
    EXPECT_EQ(parts[0].id, "updates");
    EXPECT_EQ(parts[0].size, 500'000);
    EXPECT_EQ(parts[0].path, m_fixture.path("Library/Updates"));
    EXPECT_EQ(parts[1].id, "caches");
    EXPECT_EQ(parts[1].size, 500'000);
    EXPECT_EQ(parts[2].id, "logs");
    EXPECT_EQ(parts[2].size, sizeOf("private/var/log"));
}

// Laid out as a disk whose data volume is mounted beneath the system root: a scan of the data
// volume knows the size of the copy there, and that copy is the one measured.
TEST_F(SystemDataPartTest, TakesTheScannedSizeOfTheCopyOnTheDataVolume) {
    Locations locations = m_locations;
    locations.dataVolume = m_fixture.path("System/Volumes/Data");
    m_fixture.allocatedFile("System/Volumes/Data/private/var/vm/swapfile0", 8192);
    test::TreeBuilder volume{locations.dataVolume};
    FileNode* var = volume.folder(volume.folder(volume.root(), "private"), "var");
    volume.file(volume.folder(var, "vm"), "swapfile0", 3'000'000);
    const ScanResult scan = volume.finish();

    const auto parts = byId(SystemDataPart::measureAll(locations, lookupIn(scan, locations)));

    ASSERT_TRUE(parts.contains("vm"));
    EXPECT_EQ(parts.at("vm").size, 3'000'000);
    EXPECT_EQ(parts.at("vm").path, m_fixture.path("System/Volumes/Data/private/var/vm"));
}

} // namespace
} // namespace dorvale
