#pragma once
// Answers modal dialogs that a command opens with exec(): each scripted answer acts on the
// next modal widget; anything unscripted is recorded and closed by the safety timer, so a test
// never hangs on a dialog.

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace vorna::test {

class ModalDriver : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(QWidget*)>;
    ModalDriver();
    ~ModalDriver() override;

    // Queues an answer for the next modal widget.
    void Then(Answer answer);
    // Presses a message box button (QMessageBox::Yes, No, Cancel, Ok).
    void ThenButton(int standardButton);
    // Texts of every message box answered or closed, in order.
    QStringList seen;
    int unexpected = 0;

private:
    void Poll();

    std::deque<Answer> m_answers;
    QTimer m_timer;
};

} // namespace vorna::test
