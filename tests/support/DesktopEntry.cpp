#include "support/DesktopEntry.hpp"

#include <map>

namespace dorvale::test {

std::optional<std::string> unescapedString(std::string_view value) {
    static const std::map<char, char> escapes{
        {'s', ' '}, {'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'\\', '\\'}};
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            text += value[i];
            continue;
        }
        if (++i == value.size()) {
            return std::nullopt;
        }
        const auto escape = escapes.find(value[i]);
        if (escape == escapes.end()) {
            return std::nullopt;
        }
        text += escape->second;
    }
    return text;
}

std::optional<std::vector<std::string>> execArguments(std::string_view exec) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (i < exec.size()) {
        if (exec[i] == ' ') {
            ++i;
            continue;
        }
        std::string argument;
        const bool quoted = exec[i] == '"';
        i += quoted ? 1 : 0;
        for (; i < exec.size() && (quoted ? exec[i] != '"' : exec[i] != ' '); ++i) {
            if (exec[i] == '%') {
                if (++i == exec.size() || exec[i] != '%') {
                    return std::nullopt;
                }
            } else if (exec[i] == '\\') {
                if (!quoted || ++i == exec.size() ||
                    std::string_view("\"`$\\").find(exec[i]) == std::string_view::npos) {
                    return std::nullopt;
                }
            } else if (std::string_view("\"`$").find(exec[i]) != std::string_view::npos) {
                return std::nullopt;
            }
            argument += exec[i];
        }
        if (quoted && i++ == exec.size()) {
            return std::nullopt;
        }
        arguments.push_back(argument);
    }
    return arguments;
}

std::optional<std::string> execLine(const std::string& contents) {
    const auto start = contents.find("\nExec=");
    if (start == std::string::npos) {
        return std::nullopt;
    }
    const auto valueStart = start + 6;
    return contents.substr(valueStart, contents.find('\n', valueStart) - valueStart);
}

std::optional<std::vector<std::string>> entryCommand(const std::string& contents) {
    const auto exec = execLine(contents);
    if (!exec) {
        return std::nullopt;
    }
    const auto unescaped = unescapedString(*exec);
    if (!unescaped) {
        return std::nullopt;
    }
    return execArguments(*unescaped);
}

} // namespace dorvale::test
