#include "model/FileKind.hpp"

#include "platform/Paths.hpp"
#include "platform/RawValue.hpp"
#include "platform/Text.hpp"
#include "platform/Tr.hpp"

#include <string>

namespace dorvale {

namespace {

struct KindInfo {
    std::string_view title;
    Rgb color;
};

constexpr std::array<KindInfo, allFileKinds.size()> kindInfo = {{
    {"Documents", {52, 195, 160}},
    {"Images", {245, 184, 61}},
    {"Video", {255, 107, 138}},
    {"Audio", {181, 123, 255}},
    {"Archives", {255, 159, 67}},
    {"Disk Images & Installers", {255, 159, 67}},
    {"Code", {61, 214, 245}},
    {"Applications", {91, 140, 255}},
    {"Other", {160, 164, 176}},
}};

// Inserted in this order; a later list overwrites an earlier one ("exs" ends up as code).
constexpr std::array<std::pair<FileKind, std::string_view>, 7> extensionLists = {{
    {FileKind::Document, "pdf doc docx xls xlsx ppt pptx pages numbers key txt rtf rtfd md "
                         "markdown csv tsv epub odt ods odp tex log json xml yaml yml html htm"},
    {FileKind::Image, "jpg jpeg png heic heif gif tif tiff bmp webp raw cr2 cr3 nef arw dng orf "
                      "raf rw2 psd psb ai svg eps sketch fig xcf exr hdr icns ico avif jxl"},
    {FileKind::Video, "mov mp4 m4v avi mkv webm mts m2ts mpg mpeg wmv flv 3gp braw r3d mxf vob "
                      "prproj fcpxml"},
    {FileKind::Audio, "mp3 m4a m4b m4p aac wav aif aiff flac ogg opus caf alac wma mid midi sf2 "
                      "als band"},
    {FileKind::Archive, "zip rar 7z tar gz tgz bz2 tbz xz txz lz lzma zst cab sit sitx cpgz"},
    {FileKind::DiskImage, "dmg iso img sparseimage sparsebundle toast vmdk vdi qcow2 vhd vhdx "
                          "ipsw pkg mpkg xip"},
    {FileKind::Code, "swift m mm h hpp c cc cpp js mjs cjs ts tsx jsx py rb go rs java kt kts "
                     "php cs sh zsh bash sql lua dart scala r pl ex exs erl hs vue svelte css "
                     "scss sass less gradle o a dylib so class jar wasm pyc"},
}};

constexpr std::size_t maxExtensionBytes = 12;

FileKind lookUp(std::string_view lowerExtension) {
    const auto& table = extensionTable();
    const auto found = table.find(lowerExtension);
    return found == table.end() ? FileKind::Other : found->second;
}

// A non-ASCII extension is lower-cased code point by code point (the Kelvin sign becomes
// "k"), so such names are judged like their ASCII spelling.
FileKind lookUpUnicode(std::string_view extension) {
    return lookUp(lowercased(extension));
}

} // namespace

std::optional<FileKind> fileKindFromRaw(unsigned raw) {
    return atPosition(allFileKinds, raw);
}

std::string_view title(FileKind kind) {
    return tr(kindInfo[static_cast<std::size_t>(kind)].title);
}

Rgb color(FileKind kind) {
    return kindInfo[static_cast<std::size_t>(kind)].color;
}

const std::unordered_map<std::string_view, FileKind>& extensionTable() {
    static const auto table = [] {
        std::unordered_map<std::string_view, FileKind> built;
        for (const auto& [kind, list] : extensionLists) {
            std::size_t start = 0;
            while (start < list.size()) {
                std::size_t end = list.find(' ', start);
                if (end == std::string_view::npos) {
                    end = list.size();
                }
                built.insert_or_assign(list.substr(start, end - start), kind);
                start = end + 1;
            }
        }
        return built;
    }();
    return table;
}

FileKind fileKindForName(std::string_view name) {
    const std::string_view extension = nameExtension(name);
    if (extension.empty() || extension.size() > maxExtensionBytes) {
        return FileKind::Other;
    }
    char lower[maxExtensionBytes];
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const auto byte = static_cast<unsigned char>(extension[i]);
        if (byte >= 0x80) {
            return lookUpUnicode(extension);
        }
        lower[i] = static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
    }
    return lookUp(std::string_view(lower, extension.size()));
}

} // namespace dorvale
