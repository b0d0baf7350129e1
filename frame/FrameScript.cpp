#include "FrameScript.h"

#include "FrameError.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>

namespace {

using EAction = SScriptStep::EAction;

[[noreturn]] void Malformed(int line, const std::string& text, const std::string& reason) {
    throw CFrameError(EFrameExit::AutomationFailed,
                      "script line " + std::to_string(line) + " (" + text + "): " + reason);
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The words of a line; nullopt names the reason in `error`.
std::optional<std::vector<std::string>> Words(const std::string& text, std::string& error) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string word;
            bool closed = false;
            for (++i; i < text.size() && !closed; ++i) {
                if (text[i] == '\\' && i + 1 < text.size() &&
                    (text[i + 1] == '"' || text[i + 1] == '\\')) {
                    word += text[++i];
                } else if (text[i] == '"') {
                    closed = true;
                } else {
                    word += text[i];
                }
            }
            if (!closed) {
                error = "the quote is not closed";
                return std::nullopt;
            }
            if (i < text.size() && text[i] != ' ' && text[i] != '\t') {
                error = "a blank must follow the closing quote";
                return std::nullopt;
            }
            words.push_back(word);
        } else {
            const std::size_t end = text.find_first_of(" \t", i);
            words.push_back(text.substr(i, end == std::string::npos ? end : end - i));
            i = end == std::string::npos ? text.size() : end;
        }
    }
    return words;
}

std::optional<int> Number(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

struct SSyntax {
    EAction action;
    std::size_t arguments;
    const char* usage;
};

const std::map<std::string, SSyntax, std::less<>>& Syntax() {
    static const std::map<std::string, SSyntax, std::less<>> syntax{
        {"view", {EAction::View, 1, "view ID"}},
        {"press", {EAction::Press, 1, "press \"Label\""}},
        {"type", {EAction::Type, 2, "type \"Field label\" \"text\""}},
        {"choose", {EAction::Choose, 2, "choose \"Combo label\" \"Entry\""}},
        {"wait", {EAction::WaitTime, 1, "wait idle or wait MS"}},
        {"screenshot", {EAction::Screenshot, 1, "screenshot FILE"}},
    };
    return syntax;
}

SScriptStep ParseStep(int line, const std::string& text, std::vector<std::string> words) {
    const auto found = Syntax().find(words.front());
    if (found == Syntax().end()) {
        Malformed(line, text,
                  "unknown step \"" + words.front() +
                      "\" (view, press, type, choose, wait, screenshot)");
    }
    const SSyntax& syntax = found->second;
    words.erase(words.begin());
    if (words.size() != syntax.arguments) {
        Malformed(line, text, std::string("expected ") + syntax.usage);
    }
    SScriptStep step{line, text, syntax.action, std::move(words), 0};
    switch (step.action) {
    case EAction::View:
    case EAction::WaitTime: {
        if (step.action == EAction::WaitTime && step.arguments[0] == "idle") {
            step.action = EAction::WaitIdle;
            break;
        }
        const auto number = Number(step.arguments[0]);
        if (!number) {
            Malformed(line, text, std::string("expected ") + syntax.usage);
        }
        step.number = *number;
        break;
    }
    case EAction::Press:
    case EAction::Type:
    case EAction::Choose:
    case EAction::Screenshot:
        if (step.arguments[0].empty()) {
            Malformed(line, text, "the first argument is empty");
        }
        break;
    case EAction::WaitIdle:
        break;
    }
    return step;
}

} // namespace

std::string SScriptStep::Describe() const {
    return "line " + std::to_string(line) + " (" + text + ")";
}

std::vector<SScriptStep> ParseFrameScript(const std::string& script) {
    std::vector<SScriptStep> steps;
    std::istringstream lines(script);
    std::string raw;
    for (int line = 1; std::getline(lines, raw); ++line) {
        const std::string text = Trimmed(raw);
        std::string error;
        const auto words = Words(text, error);
        if (!words) {
            Malformed(line, text, error);
        }
        if (!words->empty()) {
            steps.push_back(ParseStep(line, text, *words));
        }
    }
    return steps;
}

std::vector<SScriptStep> ReadFrameScript(const std::filesystem::path& file) {
    std::error_code error;
    std::ifstream in(file, std::ios::binary);
    if (!std::filesystem::is_regular_file(file, error) || !in) {
        throw CFrameError(EFrameExit::AutomationFailed, "cannot read the script " + file.string());
    }
    const std::string content{std::istreambuf_iterator<char>(in), {}};
    if (in.bad()) {
        throw CFrameError(EFrameExit::AutomationFailed, "cannot read the script " + file.string());
    }
    return ParseFrameScript(content);
}
