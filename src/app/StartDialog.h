#pragma once
// The start dialog (CStartDlg): choose the device family, open a file or connect.

#include <QDialog>

class QCheckBox;
class QListWidget;

namespace vorna {

class CMainFrame;
class ProgramState;

class StartDialog : public QDialog {
    Q_OBJECT
public:
    StartDialog(ProgramState& state, CMainFrame& frame);
    QListWidget* DeviceList() const { return m_devices; }
    QCheckBox* DontShow() const { return m_dontShow; }

    // List position -> profile device type (position 3 is the Osprey class, type 4).
    static int DeviceTypeForRow(int row);
    static int RowForDeviceType(int type);

private:
    void Choose(int row);
    void Finish();

    ProgramState& m_state;
    CMainFrame& m_frame;
    QListWidget* m_devices;
    QCheckBox* m_dontShow;
};

} // namespace vorna
