#include "app/calib/CalibMessages.h"

#include <QMessageBox>

namespace vorna {

void ShowMessages(QWidget* parent, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("VORNA"), QString::fromStdString(text),
                        QMessageBox::Ok, parent);
        box.exec();
    }
}

} // namespace vorna
