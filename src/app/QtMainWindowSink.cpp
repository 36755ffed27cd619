#include "app/QtMainWindowSink.h"

#include <QMetaObject>

namespace vorna {

void QtMainWindowSink::Post(MainEvent event) {
    QObject* receiver = m_receiver.data();
    if (!receiver)
        return; // a question in the event answers its fallback as the event goes
    Handler handler = m_handler;
    QMetaObject::invokeMethod(
        receiver, [handler, event = std::move(event)]() mutable { handler(event); },
        Qt::QueuedConnection);
}

} // namespace vorna
