#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

// Routes the values written to the positioner's command elements to whoever carries the
// command out (a procedure). A write to any other key is only stored.
class CCommandDispatcher {
public:
    using Handler = std::function<void(const std::string& value)>;

    // One handler per key; registering a key again replaces its handler.
    void Register(std::uint32_t key, Handler handler);
    // A handler for one command value (decimal text) of a key; it goes before the key's own
    // handler. Registering the pair again replaces its handler.
    void Register(std::uint32_t key, std::uint32_t command, Handler handler);
    // False when no handler is registered for `key` or for that command of it.
    bool Dispatch(std::uint32_t key, const std::string& value) const;

private:
    std::map<std::uint32_t, Handler> m_handlers;
    std::map<std::pair<std::uint32_t, std::uint32_t>, Handler> m_commands;
};
