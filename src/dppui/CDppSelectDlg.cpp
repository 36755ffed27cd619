#include "dppui/CDppSelectDlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Text.h"

namespace vorna {

CDppSelectDlg::CDppSelectDlg(const DppSelectLabels& labels, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Please Select A DPP"));
    auto* layout = new QVBoxLayout(this);
    for (int entry = 1; entry <= kButtonCount; ++entry) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("entry%1").arg(entry));
        button->setAutoDefault(false);
        const std::string& label = labels[static_cast<size_t>(entry - 1)];
        // Hidden unless the device in that place was identified.
        button->setVisible(false);
        if (!label.empty()) {
            button->setText(QString::fromStdString(Cp1252ToUtf8(label)));
            button->setVisible(true);
        }
        connect(button, &QPushButton::clicked, this, [this, entry] { Choose(entry); });
        layout->addWidget(button);
        m_buttons[static_cast<size_t>(entry - 1)] = button;
    }
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* CDppSelectDlg::entryButton(int entry) const {
    if (entry < 1 || entry > kButtonCount)
        return nullptr;
    return m_buttons[static_cast<size_t>(entry - 1)];
}

void CDppSelectDlg::Choose(int entry) {
    m_chosen = entry;
    accept();
}

int ChooseDppEntry(const DppSelectLabels& labels, QWidget* parent) {
    CDppSelectDlg dlg(labels, parent);
    return dlg.exec() == QDialog::Accepted ? dlg.chosenEntry() : 0;
}

} // namespace vorna
