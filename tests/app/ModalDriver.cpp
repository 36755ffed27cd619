#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace vorna::test {

ModalDriver::ModalDriver() {
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::Poll);
    m_timer.start(20);
}

ModalDriver::~ModalDriver() {
    m_timer.stop();
}

void ModalDriver::Then(Answer answer) {
    m_answers.push_back(std::move(answer));
}

void ModalDriver::ThenButton(int button) {
    Then([button](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QAbstractButton* b =
            box ? box->button(static_cast<QMessageBox::StandardButton>(button)) : nullptr;
        if (b) {
            b->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
            dialog->reject(); // not the dialog the script expected; the test's checks will say so
        }
    });
}

void ModalDriver::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        seen << box->text();
    if (!m_answers.empty()) {
        Answer answer = std::move(m_answers.front());
        m_answers.pop_front();
        answer(modal);
        return;
    }
    ++unexpected;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

} // namespace vorna::test
