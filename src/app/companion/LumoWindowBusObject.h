#pragma once
// The object VORNA exports at /LumoWindow: two methods, handed to the companion interface with
// the message they came in (for the caller's identity and a later reply).

#include <QDBusContext>
#include <QObject>

namespace vorna {

class CompanionInterface;

class LumoWindowBusObject : public QObject, public QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.quorix.LumoWindow")
public:
    explicit LumoWindowBusObject(CompanionInterface& owner) : m_owner(owner) {}

public Q_SLOTS:
    Q_SCRIPTABLE int CopyData(uint code, const QString& text);
    Q_SCRIPTABLE int Command(uint code, int argument);

private:
    CompanionInterface& m_owner;
};

} // namespace vorna
