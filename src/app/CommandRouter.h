#pragma once
// Command id -> handler. The menu files register their handlers; the main window only routes.

#include <functional>
#include <map>

namespace vorna {

class CommandRouter {
public:
    using Handler = std::function<void()>;
    void Register(int id, Handler handler) { m_handlers[id] = std::move(handler); }
    // False when nothing handles the id.
    bool Execute(int id) const;
    bool Handles(int id) const { return m_handlers.count(id) != 0; }

private:
    std::map<int, Handler> m_handlers;
};

} // namespace vorna
