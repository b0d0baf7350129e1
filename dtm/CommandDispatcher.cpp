#include "dtm/CommandDispatcher.h"

void CCommandDispatcher::Register(std::uint32_t key, Handler handler) {
    m_handlers[key] = std::move(handler);
}

bool CCommandDispatcher::Dispatch(std::uint32_t key, const std::string& value) const {
    const auto it = m_handlers.find(key);
    if (it == m_handlers.end()) {
        return false;
    }
    it->second(value);
    return true;
}
