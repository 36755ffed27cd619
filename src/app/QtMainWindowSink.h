#pragma once
// Posted main-window events on the Qt side: any thread posts, the receiver's thread handles them
// in posting order through queued invocations.

#include <QObject>
#include <QPointer>
#include <functional>

#include "common/MainWindowSink.h"

namespace vorna {

class QtMainWindowSink : public MainWindowSink {
public:
    using Handler = std::function<void(MainEvent&)>;
    QtMainWindowSink(QObject* receiver, Handler handler)
        : m_receiver(receiver), m_handler(std::move(handler)) {}
    using MainWindowSink::Post;
    void Post(MainEvent event) override;

private:
    QPointer<QObject> m_receiver;
    Handler m_handler;
};

} // namespace vorna
