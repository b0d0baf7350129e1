#include "dtm/CallLog.h"

#include <algorithm>

void CCallLog::Record(std::string operation, std::initializer_list<std::string> arguments) {
    std::string text;
    const char* separator = "";
    for (const std::string& argument : arguments) {
        text += separator + argument;
        separator = ", ";
    }
    m_calls.push_back({std::move(operation), std::move(text)});
}

std::vector<std::string> CCallLog::Lines(std::string_view operation) const {
    std::vector<std::string> lines;
    for (const SDtmCall& call : m_calls) {
        if (operation.empty() || call.operation == operation) {
            lines.push_back(call.ToString());
        }
    }
    return lines;
}

std::size_t CCallLog::Count(std::string_view operation) const {
    return static_cast<std::size_t>(std::ranges::count_if(
        m_calls, [operation](const SDtmCall& call) { return call.operation == operation; }));
}
