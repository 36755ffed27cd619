#include "app/CommandRouter.h"

namespace vorna {

bool CommandRouter::Execute(int id) const {
    auto it = m_handlers.find(id);
    if (it == m_handlers.end())
        return false;
    it->second();
    return true;
}

} // namespace vorna
