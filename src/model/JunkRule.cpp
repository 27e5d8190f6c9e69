#include "model/JunkRule.hpp"

#include "platform/Bundle.hpp"
#include "platform/Paths.hpp"
#include "platform/Tr.hpp"

namespace dorvale {

namespace {

enum class Smart : bool { No, Yes };

// The base text that stands for the user's Trash folder, wherever the desktop keeps it.
constexpr std::string_view userTrashBase = ".Trash";

JunkRule entry(std::string id, JunkGroup group, std::string_view title,
               std::string_view explanation, std::string base, Risk risk, Removal removal,
               Smart smart) {
    JunkRule rule;
    rule.id = std::move(id);
    rule.group = group;
    rule.title = title;
    rule.explanation = explanation;
    rule.risk = risk;
    rule.base = std::move(base);
    rule.removal = removal;
    rule.inSmartClean = smart == Smart::Yes;
    return rule;
}

std::vector<JunkRule> makeCatalogue() {
    std::vector<JunkRule> rules = {
        entry("user-caches", JunkGroup::System, tr("App caches"),
              tr("Temporary copies apps keep to run faster. They’re rebuilt automatically; some "
                 "apps may take a little longer the first time."),
              "Library/Caches", Risk::Safe, Removal::Permanent, Smart::Yes),
        entry("user-logs", JunkGroup::System, tr("Logs and crash reports"),
              tr("Activity and error history from apps. Only useful for diagnosing problems."),
              "Library/Logs", Risk::Safe, Removal::Permanent, Smart::Yes),
        entry("saved-state", JunkGroup::System, tr("Saved window state"),
              tr("Window positions used to reopen apps the way you left them. Recreated "
                 "automatically."),
              "Library/Saved Application State", Risk::Safe, Removal::Permanent, Smart::Yes),
        entry("system-logs", JunkGroup::System, tr("System logs"),
              tr("Logs shared by all users. May require administrator permissions."),
              "/Library/Logs", Risk::Review, Removal::Permanent, Smart::No),
        entry("trash", JunkGroup::Trash, tr("Trash"),
              tr("Everything you’ve already moved to the Trash. Emptying it actually frees the "
                 "space."),
              ".Trash", Risk::Safe, Removal::Permanent, Smart::Yes),
        entry("mail-downloads", JunkGroup::Mail, tr("Attachments opened from Mail"),
              tr("Copies of attachments you opened. The original stays in the email."),
              "Library/Containers/com.apple.mail/Data/Library/Mail Downloads", Risk::Safe,
              Removal::Permanent, Smart::Yes),
        entry("xcode-derived", JunkGroup::Developer, tr("Xcode · DerivedData"),
              tr("Intermediate Xcode build products. Rebuilt when you build (the first build takes "
                 "longer)."),
              "Library/Developer/Xcode/DerivedData", Risk::Safe, Removal::Permanent, Smart::Yes),
        entry("xcode-device-support", JunkGroup::Developer, tr("Xcode · Device Support"),
              tr("Symbols for iOS/watchOS versions. Xcode downloads them again when you connect a "
                 "device."),
              "Library/Developer/Xcode/iOS DeviceSupport", Risk::Safe, Removal::Permanent,
              Smart::Yes),
        entry("xcode-watch-support", JunkGroup::Developer, tr("Xcode · watchOS Support"),
              tr("Symbols for watchOS versions. Downloaded again if needed."),
              "Library/Developer/Xcode/watchOS DeviceSupport", Risk::Safe, Removal::Permanent,
              Smart::Yes),
        entry("simulator-caches", JunkGroup::Developer, tr("Simulators · Caches"),
              tr("iOS Simulator caches. They’re rebuilt automatically."),
              "Library/Developer/CoreSimulator/Caches", Risk::Safe, Removal::Permanent, Smart::Yes),
        entry("xcode-archives", JunkGroup::Developer, tr("Xcode · Archives"),
              tr("Archived builds for distribution. Used to read crash reports from released "
                 "versions."),
              "Library/Developer/Xcode/Archives", Risk::Review, Removal::Trash, Smart::No),
        entry("npm-cache", JunkGroup::Developer, tr("npm cache"),
              tr("Packages downloaded by npm. Downloaded again when you install."), ".npm/_cacache",
              Risk::Safe, Removal::Permanent, Smart::No),
        entry("gradle-cache", JunkGroup::Developer, tr("Gradle cache"),
              tr("Dependencies downloaded by Gradle (Android/Java)."), ".gradle/caches", Risk::Safe,
              Removal::Permanent, Smart::No),
        entry("dot-cache", JunkGroup::Developer, tr("Tool caches (~/.cache)"),
              tr("pip, Hugging Face, pre-commit… Note: they may contain large models you’d have to "
                 "download again."),
              ".cache", Risk::Review, Removal::Permanent, Smart::No),
        entry("ios-updates", JunkGroup::Devices, tr("Downloaded iOS updates"),
              tr("iOS/iPadOS installers downloaded by Finder. Downloaded again if needed."),
              "Library/iTunes/iPhone Software Updates", Risk::Safe, Removal::Permanent, Smart::Yes),
        entry("ios-backups", JunkGroup::Devices, tr("iPhone/iPad backups"),
              tr("Local backups of your devices. Delete them only if you have an iCloud backup or "
                 "no longer need them."),
              "Library/Application Support/MobileSync/Backup", Risk::Review, Removal::Trash,
              Smart::No),
        entry("old-installers", JunkGroup::Downloads, tr("Installers in Downloads"),
              tr(".dmg/.pkg/.xip files downloaded more than a week ago. The app is usually already "
                 "installed."),
              "Downloads", Risk::Review, Removal::Trash, Smart::No),
    };
    // Folders the system's own services keep in the caches, and this program's own cache:
    // clearing them breaks or slows what depends on them.
    rules.front().excludedNames = {
        "com.apple.bird",
        "CloudKit",
        "com.apple.containermanagerd",
        "FamilyCircle",
        "com.apple.akd",
        "com.apple.nsurlsessiond",
        std::string(ownBundleIdentifier),
        "com.apple.HomeKit",
        "com.apple.ap.adprivacyd",
    };
    JunkRule& installers = rules.back();
    installers.extensions = JunkRule::Names{"dmg", "pkg", "mpkg", "xip", "iso"};
    installers.minAgeDays = 7;
    return rules;
}

// The first component of what follows a base folder's "/" in a normalised path.
std::string_view firstComponent(std::string_view rest) {
    return rest.substr(0, rest.find('/'));
}

} // namespace

const std::vector<JunkRule>& JunkRule::all() {
    static const std::vector<JunkRule> catalogue = makeCatalogue();
    return catalogue;
}

std::string JunkRule::basePath(const Locations& locations) const {
    if (base == userTrashBase) {
        return locations.trashFolder();
    }
    if (base.starts_with('/')) {
        return locations.systemPath(base);
    }
    return locations.homePath(base);
}

bool JunkRule::acceptsExtension(std::string_view name) const {
    return !extensions || extensions->contains(lowercasePathExtension(name));
}

const JunkRule* JunkRule::ruleForPath(std::string_view path, const Locations& locations) {
    // Lexical normalisation keeps "Caches/../Documents" from passing as a cache.
    const std::string normalized = normalizePath(path);
    for (const JunkRule& rule : all()) {
        const std::string prefix = rule.basePath(locations) + "/";
        if (!normalized.starts_with(prefix)) {
            continue;
        }
        const std::string_view name =
            firstComponent(std::string_view(normalized).substr(prefix.size()));
        if (rule.excludedNames.contains(name)) {
            return nullptr;
        }
        if (rule.acceptsExtension(name)) {
            return &rule;
        }
    }
    return nullptr;
}

std::string lowercasePathExtension(std::string_view name) {
    std::string extension(nameExtension(name));
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension;
}

} // namespace dorvale
