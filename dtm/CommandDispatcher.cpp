#include "dtm/CommandDispatcher.h"

#include <charconv>

void CCommandDispatcher::Register(std::uint32_t key, Handler handler) {
    m_handlers[key] = std::move(handler);
}

void CCommandDispatcher::Register(std::uint32_t key, std::uint32_t command, Handler handler) {
    m_commands[{key, command}] = std::move(handler);
}

bool CCommandDispatcher::Dispatch(std::uint32_t key, const std::string& value) const {
    std::uint32_t command = 0;
    const char* const end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, command);
    if (error == std::errc() && stop == end) {
        if (const auto it = m_commands.find({key, command}); it != m_commands.end()) {
            it->second(value);
            return true;
        }
    }
    const auto it = m_handlers.find(key);
    if (it == m_handlers.end()) {
        return false;
    }
    it->second(value);
    return true;
}
