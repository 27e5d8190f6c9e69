#include "platform/WordingCatalogue.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

// The guard reads the sources as they stand, so a text added anywhere in the program that
// names the other platform fails here until the wording maps it.
namespace dorvale {
namespace {

// Words that belong to the platform the texts were first written for.
constexpr std::array otherPlatformWords = {"Mac",    "macOS",        "Finder",   "APFS",
                                           "iCloud", "Time Machine", "menu bar", "Spotlight"};

std::string readAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// A quote between digits (65'536) groups them; it starts no character literal.
bool isDigitSeparator(const std::string& source, std::size_t at) {
    return at > 0 && std::isalnum(static_cast<unsigned char>(source[at - 1])) != 0;
}

// The code with its comments and preprocessor lines blanked out; literals stay as they are.
std::string codeOnly(const std::string& source) {
    std::string code;
    bool lineStart = true;
    for (std::size_t at = 0; at < source.size();) {
        const char c = source[at];
        if (lineStart && c == '#') {
            at = std::min(source.find('\n', at), source.size());
        } else if (source.compare(at, 2, "//") == 0) {
            at = std::min(source.find('\n', at), source.size());
        } else if (source.compare(at, 2, "/*") == 0) {
            const std::size_t end = source.find("*/", at + 2);
            at = end == std::string::npos ? source.size() : end + 2;
            code += ' ';
        } else if (c == '"' || (c == '\'' && !isDigitSeparator(source, at))) {
            std::size_t end = at + 1;
            while (end < source.size() && source[end] != c) {
                end += source[end] == '\\' ? 2 : 1;
            }
            code.append(source, at, end + 1 - at);
            at = end + 1;
            lineStart = false;
        } else {
            code += c;
            lineStart = c == '\n' || (lineStart && (c == ' ' || c == '\t'));
            ++at;
        }
    }
    return code;
}

// The bytes a literal's body stands for (its escapes resolved).
std::string unescaped(std::string_view body) {
    std::string text;
    for (std::size_t at = 0; at < body.size(); ++at) {
        if (body[at] != '\\' || at + 1 == body.size()) {
            text += body[at];
            continue;
        }
        const char escape = body[++at];
        switch (escape) {
        case 'n':
            text += '\n';
            break;
        case 't':
            text += '\t';
            break;
        case 'x':
            text += static_cast<char>(std::stoi(std::string(body.substr(at + 1, 2)), nullptr, 16));
            at += 2;
            break;
        default:
            text += escape;
        }
    }
    return text;
}

struct Literal {
    std::string text;
    // Handed straight to a lookup: `tr("…")`, `translate("Context", "…")` or their no-op
    // markers for tables looked up later.
    bool lookedUp = false;
};

// Every string literal of `code`, adjacent literals joined as the compiler joins them (the
// formatter splits long texts over lines).
std::vector<Literal> literalsOf(const std::string& code) {
    static const std::regex lookup(R"((\btr|QT_TR_NOOP)\s*\(\s*$)");
    static const std::regex contextLookup(
        R"((\btranslate|QT_TRANSLATE_NOOP)\s*\(\s*"[^"]*"\s*,\s*$)");
    std::vector<Literal> literals;
    std::size_t at = code.find('"');
    while (at != std::string::npos) {
        const std::size_t start = at;
        std::string text;
        std::size_t next = at;
        while (next < code.size() && code[next] == '"') {
            std::size_t end = next + 1;
            while (end < code.size() && code[end] != '"') {
                end += code[end] == '\\' ? 2 : 1;
            }
            text += unescaped(std::string_view(code).substr(next + 1, end - next - 1));
            next = code.find_first_not_of(" \t\n", end + 1);
        }
        const std::string before = code.substr(start - std::min<std::size_t>(start, 160), start);
        literals.push_back({std::move(text), std::regex_search(before, lookup) ||
                                                 std::regex_search(before, contextLookup)});
        at = next == std::string::npos ? next : code.find('"', next);
    }
    return literals;
}

// The texts of the program: literals handed to a lookup, and literals that read as words
// (they hold a space) in the tables whose entries are looked up later. Single words outside
// a lookup are names and paths, not texts.
std::set<std::string> sourceTexts() {
    std::set<std::string> texts;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DORVALE_SOURCE_DIR)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".hpp") {
            continue;
        }
        for (Literal& literal : literalsOf(codeOnly(readAll(entry.path())))) {
            if (literal.lookedUp || literal.text.find(' ') != std::string::npos) {
                texts.insert(std::move(literal.text));
            }
        }
    }
    return texts;
}

bool namesTheOtherPlatform(std::string_view text) {
    return std::any_of(otherPlatformWords.begin(), otherPlatformWords.end(),
                       [text](std::string_view word) { return text.find(word) != text.npos; });
}

// The placeholders of a text ("%1", "%lld", "%n"), in order: the shown text fills the same.
std::vector<std::string> placeholders(const std::string& text) {
    static const std::regex placeholder("%(\\d+|lld|n)");
    std::vector<std::string> found;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), placeholder);
         match != std::sregex_iterator(); ++match) {
        found.push_back(match->str());
    }
    std::sort(found.begin(), found.end());
    return found;
}

class WordingGuard : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        texts = new std::set<std::string>(sourceTexts());
        wording = new std::optional<WordingCatalogue>(
            WordingCatalogue::parse(readAll(DORVALE_WORDING_FILE)));
    }
    static void TearDownTestSuite() {
        delete texts;
        delete wording;
    }

    static std::set<std::string>* texts;
    static std::optional<WordingCatalogue>* wording;
};

std::set<std::string>* WordingGuard::texts = nullptr;
std::optional<WordingCatalogue>* WordingGuard::wording = nullptr;

TEST_F(WordingGuard, FindsTheTextsWhereverTheyAreLookedUp) {
    // One of each road: Qt's `tr`, a context, a split literal, the core's `tr`, a table.
    for (const char* text :
         {"Show in Finder", "Entire disk",
          "Dorvale measures your whole disk (real size on APFS, without counting hard links "
          "twice) and breaks it down by category, folder and file type.",
          "Protected by macOS or in use.", "macOS update downloads"}) {
        EXPECT_TRUE(texts->contains(text)) << text;
    }
    EXPECT_FALSE(texts->contains("Contents/MacOS"));
}

TEST_F(WordingGuard, EveryTextNamingTheOtherPlatformHasThisDesktopsWords) {
    ASSERT_TRUE(wording->has_value()) << "the wording is not a JSON object of strings";
    for (const std::string& text : *texts) {
        if (namesTheOtherPlatform(text)) {
            EXPECT_TRUE((*wording)->find(text)) << "no wording for: " << text;
        }
    }
}

TEST_F(WordingGuard, EveryEntryIsStillASourceTextAndReadsAsThisDesktop) {
    ASSERT_TRUE(wording->has_value());
    for (const auto& [source, shown] : (*wording)->entries()) {
        EXPECT_TRUE(texts->contains(source)) << "no longer a source text: " << source;
        EXPECT_FALSE(namesTheOtherPlatform(shown)) << "still names the other platform: " << shown;
        EXPECT_EQ(placeholders(shown), placeholders(source)) << "placeholders differ: " << shown;
    }
}

} // namespace
} // namespace dorvale
