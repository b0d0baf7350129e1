#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// One call the DTM received: the operation's name and its arguments as text, separated by
// ", " ("ExecuteFunction", "2, 4, 19464192").
struct SDtmCall {
    std::string operation;
    std::string arguments;

    // "ExecuteFunction(2, 4, 19464192)".
    std::string ToString() const { return operation + "(" + arguments + ")"; }
};

// Every call the simulated DTM received, in order, for tests that check the control's side
// of the protocol.
class CCallLog {
public:
    void Record(std::string operation, std::initializer_list<std::string> arguments);
    void Clear() { m_calls.clear(); }

    const std::vector<SDtmCall>& Calls() const { return m_calls; }
    // The calls as text; only those of `operation` when it is not empty.
    std::vector<std::string> Lines(std::string_view operation = {}) const;
    std::size_t Count(std::string_view operation) const;

private:
    std::vector<SDtmCall> m_calls;
};
