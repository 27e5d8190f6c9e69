#include "GeneratedHome.hpp"

#include "GeneratedTree.hpp"
#include "model/JunkRule.hpp"

#include <string_view>

namespace dorvale::bench {

namespace {

constexpr Timestamp now = generatedNow;
constexpr int projects = 5'000;
constexpr int sourceFiles = 40;
constexpr int packages = 50;
constexpr int videos = 22'000;
constexpr int downloads = 11'000;
constexpr int libraryFolders = 1'000;

void addProjects(GeneratedTree& tree, std::int64_t packageFileSize) {
    tree.open("code", StorageBucket::Developer);
    for (int p = 0; p < projects; ++p) {
        tree.open("project-" + std::to_string(p));
        tree.open("src");
        for (int f = 0; f < sourceFiles; ++f) {
            tree.file("module-" + std::to_string(f) + ".ts", 600'000, now - 10 * secondsPerDay,
                      FileKind::Code);
        }
        tree.close();
        tree.open("node_modules");
        for (int k = 0; k < packages; ++k) {
            tree.open("package-" + std::to_string(k));
            tree.file("index.js", packageFileSize, now - 5 * secondsPerDay, FileKind::Code);
            tree.file("bundle.js", packageFileSize, now - 5 * secondsPerDay, FileKind::Code);
            tree.close();
        }
        tree.close();
        tree.close();
    }
    tree.close();
}

void addMedia(GeneratedTree& tree) {
    tree.open("Movies", StorageBucket::Video);
    for (int v = 0; v < videos; ++v) {
        const Timestamp modified =
            v % 2 == 0 ? now - 200 * secondsPerDay : now - 20 * secondsPerDay;
        tree.file("clip-" + std::to_string(v) + ".mov", 600'000'000, modified, FileKind::Video);
    }
    tree.close();
    tree.open("Downloads", StorageBucket::Archives);
    for (int d = 0; d < downloads; ++d) {
        tree.file("download-" + std::to_string(d) + ".zip", 1'000'000, now - 3 * secondsPerDay,
                  FileKind::Archive);
    }
    tree.close();
    tree.open("Library", StorageBucket::AppData);
    tree.open("Caches", StorageBucket::Junk);
    for (int l = 0; l < libraryFolders; ++l) {
        tree.open("com.example.app" + std::to_string(l));
        tree.file("cache.db", 800'000'000, now - 400 * secondsPerDay, FileKind::Other);
        tree.close();
    }
    tree.close();
    tree.close();
}

} // namespace

std::shared_ptr<ScanResult> generateHome(const std::string& root, std::int64_t packageFileSize,
                                         std::int64_t& nodes) {
    GeneratedTree tree{root, now};
    addProjects(tree, packageFileSize);
    addMedia(tree);
    nodes = tree.nodes();
    return tree.finish();
}

std::vector<JunkFinding> generateJunk() {
    std::vector<JunkFinding> junk;
    for (const JunkRule& rule : JunkRule::all()) {
        JunkFinding finding{.rule = rule};
        for (int i = 0; i < 20; ++i) {
            finding.items.push_back(JunkItem{.id = "/junk/" + rule.id + "/" + std::to_string(i),
                                             .ruleID = rule.id,
                                             .size = 30'000'000,
                                             .fileCount = 1});
        }
        junk.push_back(std::move(finding));
    }
    return junk;
}

} // namespace dorvale::bench
