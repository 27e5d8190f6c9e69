#include "GeneratedHome.hpp"

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

/// Builds a tree depth-first: a folder's figures are summed from its children when it is
/// closed, as the scanner does when the walk leaves it. Files take the bucket of the folder
/// they are in.
class Generator {
public:
    explicit Generator(const std::string& rootPath) {
        m_result->rootPath = rootPath;
        FileNode::Attributes attributes;
        attributes.isDirectory = true;
        FileNode* root = m_result->nodes->make(rootPath, nullptr, attributes);
        m_result->root = root;
        m_open.push_back({root, {}});
    }

    void open(std::string_view name, std::optional<StorageBucket> bucket = std::nullopt) {
        FileNode::Attributes attributes;
        attributes.isDirectory = true;
        attributes.size = 4'096;
        attributes.modified = now - 30 * secondsPerDay;
        attributes.bucket = bucket.value_or(m_open.back().folder->bucket());
        FileNode* folder = m_result->nodes->make(name, m_open.back().folder, attributes);
        m_open.back().children.push_back(folder);
        m_open.push_back({folder, {}});
        m_result->bucketTotals[attributes.bucket] += attributes.size;
        ++m_result->totalDirectories;
        ++m_nodes;
    }

    void close() {
        Open done = std::move(m_open.back());
        m_open.pop_back();
        m_result->nodes->setChildren(*done.folder, done.children);
        m_result->nodes->addContents(*m_open.back().folder, *done.folder);
    }

    void file(std::string_view name, std::int64_t size, Timestamp modified, FileKind kind) {
        FileNode::Attributes attributes;
        attributes.size = size;
        attributes.logicalSize = size;
        attributes.fileCount = 1;
        attributes.modified = modified;
        attributes.kind = kind;
        attributes.bucket = m_open.back().folder->bucket();
        FileNode* node = m_result->nodes->make(name, m_open.back().folder, attributes);
        m_open.back().children.push_back(node);
        m_result->nodes->addFile(*m_open.back().folder, size, size);
        m_result->files.push_back(node);
        m_result->bucketTotals[attributes.bucket] += size;
        m_result->kindTotals[kind] += size;
        ++m_result->kindCounts[kind];
        ++m_nodes;
    }

    [[nodiscard]] std::int64_t nodes() const { return m_nodes; }

    [[nodiscard]] std::shared_ptr<ScanResult> finish() {
        m_result->nodes->setChildren(*m_open.front().folder, m_open.front().children);
        m_result->totalFiles = static_cast<std::int64_t>(m_result->files.size());
        m_result->duration = 12.3;
        return std::move(m_result);
    }

private:
    struct Open {
        FileNode* folder;
        std::vector<FileNode*> children;
    };

    std::shared_ptr<ScanResult> m_result = std::make_shared<ScanResult>();
    std::vector<Open> m_open;
    std::int64_t m_nodes = 1;
};

void addProjects(Generator& tree, std::int64_t packageFileSize) {
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

void addMedia(Generator& tree) {
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
    Generator tree{root};
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
