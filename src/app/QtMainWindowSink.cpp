#include "app/QtMainWindowSink.h"

#include <QMetaObject>

namespace vorna {

void QtMainWindowSink::Post(MainMessage message, intptr_t wparam, intptr_t lparam) {
    QObject* receiver = m_receiver.data();
    if (!receiver)
        return;
    Handler handler = m_handler;
    QMetaObject::invokeMethod(
        receiver, [handler, message, wparam, lparam] { handler(message, wparam, lparam); },
        Qt::QueuedConnection);
}

} // namespace vorna
