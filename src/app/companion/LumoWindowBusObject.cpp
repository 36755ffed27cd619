#include "app/companion/LumoWindowBusObject.h"

#include "app/companion/CompanionInterface.h"

namespace vorna {

int LumoWindowBusObject::CopyData(uint code, const QString& text) {
    return m_owner.BusCopyData(code, text, *this);
}

int LumoWindowBusObject::Command(uint code, int argument) {
    return m_owner.BusCommand(code, argument, *this);
}

} // namespace vorna
