#pragma once
// "Please Select A DPP": one button per identified device among the first six, and Cancel. The
// labels come from CollectSelectLabels; the dialog only shows them and reports the choice.

#include <QDialog>
#include <array>

#include "dpp/DppControllerPorts.h"

class QPushButton;

namespace vorna {

class CDppSelectDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kButtonCount = 6; // entries beyond the sixth cannot be chosen

    explicit CDppSelectDlg(const DppSelectLabels& labels, QWidget* parent = nullptr);

    // The entry (1..6) whose button closed the dialog; 1 until a button is pressed.
    int chosenEntry() const { return m_chosen; }
    QPushButton* entryButton(int entry) const;

private:
    void Choose(int entry);

    std::array<QPushButton*, kButtonCount> m_buttons{};
    int m_chosen = 1;
};

// Runs the dialog: the chosen entry, or 0 when the user cancels.
int ChooseDppEntry(const DppSelectLabels& labels, QWidget* parent);

} // namespace vorna
