#include "app/calib/CalibMessages.h"

#include <QMessageBox>
#include <QPointer>

namespace vorna {

void ShowMessages(QWidget* parent, const std::vector<std::string>& texts) {
    // A modeless window may be closed and deleted while its box waits: the box then goes with
    // it, so it lives on the heap and nothing is shown after its parent is gone.
    const QPointer<QWidget> owner(parent);
    for (const std::string& text : texts) {
        if (parent && !owner)
            return;
        QPointer<QMessageBox> box =
            new QMessageBox(QMessageBox::Warning, QStringLiteral("VORNA"),
                            QString::fromStdString(text), QMessageBox::Ok, owner.data());
        box->exec();
        delete box.data();
    }
}

} // namespace vorna
