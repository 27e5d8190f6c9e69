#include "model/SafetyPolicy.hpp"

#include "model/DisplayPath.hpp"
#include "model/JunkRule.hpp"
#include "platform/Bundle.hpp"
#include "platform/Paths.hpp"
#include "platform/Tr.hpp"

#include <algorithm>

namespace dorvale {

namespace {

std::vector<SafetyRule> makeSystemRules() {
    const std::string_view sip =
        tr("Part of macOS, protected by System Integrity Protection (SIP).");
    const std::string_view coreTools = tr("Core macOS tools.");
    const std::string_view tools = tr("macOS tools.");
    // Linux keeps its own essential trees in places the rows above do not reach; they are
    // tried last so that nothing the rows above decide changes. /bin, /sbin, /usr/bin,
    // /usr/sbin and /usr/lib are rows above already and keep their reasons.
    const std::string_view operatingSystem =
        tr("Part of the operating system, protected from deletion.");
    return {
        {"/System", sip},
        {"/bin", coreTools},
        {"/sbin", coreTools},
        {"/usr/bin", tools},
        {"/usr/lib", tr("macOS libraries.")},
        {"/usr/libexec", tr("macOS components.")},
        {"/usr/sbin", tools},
        {"/usr/share", tr("macOS data.")},
        {"/private/var/db", tr("System databases (security, updates, users).")},
        {"/private/var/vm", tr("Virtual memory and sleep image. macOS manages them on its own.")},
        {"/private/var/protected", tr("Protected system data.")},
        {"/private/etc", tr("System configuration.")},
        {"/Library/Apple", tr("Apple components.")},
        {"/Library/Keychains", tr("System keychains: passwords and certificates.")},
        {"/Library/Security", tr("Security components.")},
        {"/Library/Extensions",
         tr("Kernel extensions. Deleting them can stop your Mac from starting up.")},
        {"/Library/SystemExtensions", tr("System extensions in use.")},
        {"/Library/Preferences/SystemConfiguration", tr("Network and system configuration.")},
        {"/Library/Application Support/com.apple.TCC", tr("Privacy and permissions database.")},
        {"/.Spotlight-V100",
         tr("Spotlight index. To rebuild it, use System Settings > Spotlight.")},
        {"/.fseventsd", tr("File system change log.")},
        {"/.DocumentRevisions-V100", tr("Document versions managed by macOS.")},
        {"/MobileSoftwareUpdate", tr("macOS updates in progress.")},
        {"/etc", operatingSystem},
        {"/boot", operatingSystem},
        {"/dev", operatingSystem},
        {"/proc", operatingSystem},
        {"/sys", operatingSystem},
        {"/run", operatingSystem},
        {"/lib", operatingSystem},
        {"/lib32", operatingSystem},
        {"/lib64", operatingSystem},
        {"/var/lib", operatingSystem},
    };
}

std::vector<SafetyRule> makeUserLibraryRules() {
    return {
        {"Library/Keychains", tr("Your keychains: passwords, keys and certificates.")},
        {"Library/Mail", tr("Your Mail mailboxes. Manage your email from the Mail app.")},
        {"Library/Messages", tr("Your Messages history.")},
        {"Library/Accounts", tr("Accounts set up on this Mac.")},
        {"Library/Cookies", tr("Browser sessions.")},
        {"Library/Group Containers/group.com.apple", tr("Data shared by Apple apps.")},
        {"Library/Containers/com.apple", tr("Apple app data.")},
        {"Library/Application Support/AddressBook", tr("Your contacts.")},
        {"Library/Calendars", tr("Your calendars.")},
        {"Library/Safari", tr("Safari history, bookmarks and tabs.")},
        {"Library/Preferences", tr("App settings. Deleting them resets the apps.")},
        {"Library/Mobile Documents",
         tr("iCloud Drive files. Deleting them here deletes them on all your devices.")},
        {"Library/CloudStorage", tr("Synced files (Dropbox, Google Drive, OneDrive…). They would "
                                    "also be deleted from the cloud.")},
    };
}

SafetyVerdict protectedBecause(std::string_view reason) {
    return SafetyVerdict{.risk = Risk::Protected, .reason = std::string(reason)};
}

SafetyVerdict reviewBecause(std::string_view reason) {
    return SafetyVerdict{.risk = Risk::Review, .reason = std::string(reason)};
}

SafetyVerdict rootFolder() {
    return protectedBecause(tr("Root folder of the system or your user account."));
}

// A path the system would read differently from its text: ".." left over after
// normalisation (a relative path climbing out of where it starts) or a NUL byte, which
// ends the path early for every system call. Neither can be checked, so neither may pass.
bool cannotBeChecked(std::string_view normalized) {
    if (normalized.find('\0') != std::string_view::npos) {
        return true;
    }
    std::size_t start = 0;
    while (start <= normalized.size()) {
        const std::size_t end = std::min(normalized.find('/', start), normalized.size());
        if (normalized.substr(start, end - start) == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::size_t componentCount(std::string_view p) {
    std::size_t count = 0;
    bool inComponent = false;
    for (const char c : p) {
        if (c == '/') {
            inComponent = false;
        } else if (!inComponent) {
            inComponent = true;
            ++count;
        }
    }
    return count;
}

bool isSameOrBeneath(std::string_view p, std::string_view prefix) {
    return p == prefix ||
           (p.size() > prefix.size() && p.starts_with(prefix) && p[prefix.size()] == '/');
}

// A Library row covers its own path, what lies inside it, and names that continue it after
// a ".", so "Library/Containers/com.apple" takes in every "com.apple.…" container.
bool coversLibraryPath(std::string_view rowPath, std::string_view rest) {
    if (rest == rowPath) {
        return true;
    }
    return rest.size() > rowPath.size() && rest.starts_with(rowPath) &&
           (rest[rowPath.size()] == '/' || rest[rowPath.size()] == '.');
}

std::optional<SafetyVerdict> systemRuleVerdict(std::string_view p) {
    for (const SafetyRule& rule : SafetyPolicy::systemRules()) {
        if (isSameOrBeneath(p, rule.path)) {
            return protectedBecause(rule.reason);
        }
    }
    return std::nullopt;
}

std::optional<SafetyVerdict> packageMarkerVerdict(std::string_view p) {
    for (const std::string_view marker : SafetyPolicy::packageMarkers()) {
        if (p.find(marker) == std::string_view::npos) {
            continue;
        }
        // The translated sentence carries the package's extension where "%1" stands.
        std::string reason(tr("Inside a .%1 package. Deleting individual pieces corrupts it; "
                              "remove the whole package if you no longer use it."));
        const std::string_view extension = marker.substr(1, marker.size() - 2);
        if (const std::size_t slot = reason.find("%1"); slot != std::string::npos) {
            reason.replace(slot, 2, extension);
        }
        return protectedBecause(reason);
    }
    return std::nullopt;
}

} // namespace

SafetyPolicy::SafetyPolicy(const Locations& locations, const Workspace& workspace)
    : m_dataVolume(normalizePath(locations.dataVolume))
    , m_locations(locations.matchingForm())
    , m_trashFolder(normalizePath(m_locations.trashFolder()))
    , m_workspace(workspace) {
    for (const JunkRule& rule : JunkRule::all()) {
        m_junkBases.push_back(normalizePath(rule.basePath(m_locations)));
    }
}

const std::vector<SafetyRule>& SafetyPolicy::systemRules() {
    static const std::vector<SafetyRule> rules = makeSystemRules();
    return rules;
}

const std::vector<SafetyRule>& SafetyPolicy::userLibraryRules() {
    static const std::vector<SafetyRule> rules = makeUserLibraryRules();
    return rules;
}

const SafetyPolicy::Names& SafetyPolicy::standardUserFolders() {
    static const Names names = {"Desktop", "Documents", "Downloads", "Library",     "Movies",
                                "Music",   "Pictures",  "Public",    "Applications"};
    return names;
}

const std::vector<std::string_view>& SafetyPolicy::packageMarkers() {
    static const std::vector<std::string_view> markers = {
        ".photoslibrary/", ".photolibrary/",  ".musiclibrary/", ".tvlibrary/",
        ".fcpbundle/",     ".imovielibrary/", ".app/",          ".logicx/",
    };
    return markers;
}

SafetyVerdict SafetyPolicy::verdict(std::string_view path) const {
    const std::string normalized = normalizePath(path);
    if (cannotBeChecked(normalized)) {
        return protectedBecause(tr("This path can’t be checked safely, so Dorvale leaves it "
                                   "alone."));
    }
    const std::string_view p = matchingPath(normalized, m_dataVolume);
    if (auto found = rootFolderVerdict(p)) {
        return *found;
    }
    if (auto found = systemRuleVerdict(p)) {
        return *found;
    }
    if (auto found = keptFolderVerdict(p)) {
        return *found;
    }
    if (auto found = junkRuleVerdict(p)) {
        return *found;
    }
    if (auto found = homeFolderVerdict(p)) {
        return *found;
    }
    if (auto found = packageMarkerVerdict(p)) {
        return *found;
    }
    if (auto found = applicationVerdict(p, normalized)) {
        return *found;
    }
    return generalVerdict(p);
}

bool SafetyPolicy::verdictReadsDisk(std::string_view path) {
    while (path.size() > 1 && path.ends_with('/')) {
        path.remove_suffix(1);
    }
    return path.ends_with(".app");
}

std::optional<SafetyVerdict> SafetyPolicy::rootFolderVerdict(std::string_view p) const {
    static constexpr std::string_view roots[] = {"/", "/Users", "/Applications", "/Library"};
    if (p == m_locations.home || std::ranges::find(roots, p) != std::end(roots) ||
        componentCount(p) < 2) {
        return rootFolder();
    }
    return std::nullopt;
}

std::optional<SafetyVerdict> SafetyPolicy::keptFolderVerdict(std::string_view p) const {
    if (std::ranges::find(m_junkBases, p) != m_junkBases.end() || p == m_trashFolder) {
        return protectedBecause(
            tr("Folder used by macOS. Dorvale empties its contents but keeps the folder."));
    }
    return std::nullopt;
}

std::optional<SafetyVerdict> SafetyPolicy::junkRuleVerdict(std::string_view p) const {
    if (const JunkRule* rule = JunkRule::ruleForPath(p, m_locations)) {
        return SafetyVerdict{.risk = rule->risk, .reason = rule->explanation};
    }
    return std::nullopt;
}

std::optional<SafetyVerdict> SafetyPolicy::homeFolderVerdict(std::string_view p) const {
    const std::string homePrefix = m_locations.home + "/";
    if (!p.starts_with(homePrefix)) {
        return std::nullopt;
    }
    const std::string_view rest = p.substr(homePrefix.size());
    if (standardUserFolders().contains(rest)) {
        return protectedBecause(tr("Standard folder in your user account. You can delete its "
                                   "contents, but not the folder."));
    }
    for (const SafetyRule& rule : userLibraryRules()) {
        if (coversLibraryPath(rule.path, rest)) {
            return rule.path.starts_with("Library/Preferences") ? reviewBecause(rule.reason)
                                                                : protectedBecause(rule.reason);
        }
    }
    return std::nullopt;
}

std::optional<SafetyVerdict> SafetyPolicy::applicationVerdict(std::string_view p,
                                                              const std::string& onDisk) const {
    if (!p.ends_with(".app")) {
        return std::nullopt;
    }
    if (p.starts_with("/System/")) {
        return protectedBecause(tr("macOS app."));
    }
    const SafetyVerdict plainApplication =
        reviewBecause(tr("Application. Use Uninstall to remove its data too."));
    // The bundle is read where it lies, which is the path as given, prefix and all.
    const std::optional<Bundle> bundle = Bundle::open(onDisk);
    const std::optional<std::string> identifier =
        bundle ? bundle->bundleIdentifier() : std::nullopt;
    if (!identifier) {
        return plainApplication;
    }
    if (identifier->starts_with("com.apple.")) {
        return protectedBecause(tr("Apple app included with macOS or required by the system."));
    }
    const std::vector<std::string> running = m_workspace.runningBundleIdentifiers();
    if (std::ranges::find(running, *identifier) != running.end()) {
        return protectedBecause(tr("The app is open. Quit it before removing it."));
    }
    if (*identifier == ownBundleIdentifier) {
        return protectedBecause(tr("This is Dorvale."));
    }
    return plainApplication;
}

SafetyVerdict SafetyPolicy::generalVerdict(std::string_view p) const {
    const std::string& home = m_locations.home;
    if (p.ends_with(".photoslibrary") || p.ends_with(".musiclibrary")) {
        return protectedBecause(tr("Your photo or music library. Manage it from its app."));
    }
    if (p.starts_with(home + "/Library/")) {
        return reviewBecause(
            tr("App data. The app may lose settings or content if it’s still installed."));
    }
    for (const std::string_view shared : {"/Library/", "/private/", "/usr/", "/opt/"}) {
        if (p.starts_with(shared)) {
            return reviewBecause(tr("Shared file used by the system or a tool. May require an "
                                    "administrator password."));
        }
    }
    if (p.starts_with(home + "/Downloads/")) {
        return SafetyVerdict{.risk = Risk::Safe,
                             .reason = std::string(tr("Download. Make sure you don’t need it."))};
    }
    if (p.starts_with(m_trashFolder + "/")) {
        return SafetyVerdict{.risk = Risk::Safe,
                             .reason = std::string(tr("Already in the Trash."))};
    }
    if (p.starts_with(home + "/")) {
        return reviewBecause(tr("Personal file. Make sure you have a backup if it matters."));
    }
    return reviewBecause(tr("Review before deleting."));
}

} // namespace dorvale
