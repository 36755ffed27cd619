#include "app/StartDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CMainFrame.h"
#include "app/DppSession.h"
#include "appcore/ProgramState.h"

namespace vorna {

namespace {
const char* const kDeviceNames[] = {"KestrelA", "Heron / Skua / Petrel", "Plover",
                                    "Osprey / Skua-SDD"};
}

int StartDialog::DeviceTypeForRow(int row) {
    return row == 3 ? 4 : row;
}
int StartDialog::RowForDeviceType(int type) {
    if (type < 0 || type > 4)
        return 0; // a type no family knows shows the Kestrel row, never one past the list
    return type == 4 ? 3 : (type == 3 ? 1 : type);
}

StartDialog::StartDialog(ProgramState& state, CMainFrame& frame)
    : QDialog(&frame), m_state(state), m_frame(frame) {
    setObjectName("StartDialog");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Device Type"), this));
    m_devices = new QListWidget(this);
    for (const char* name : kDeviceNames)
        m_devices->addItem(QString::fromLatin1(name));
    m_devices->setMaximumHeight(m_devices->sizeHintForRow(0) * 5);
    layout->addWidget(m_devices);
    m_dontShow = new QCheckBox(QStringLiteral("Don't show this dialog in the future"), this);
    layout->addWidget(m_dontShow);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* open =
        buttons->addButton(QStringLiteral("Open a file"), QDialogButtonBox::ActionRole);
    QPushButton* connectButton =
        buttons->addButton(QStringLiteral("Connect"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);

    const int row = RowForDeviceType(state.Profile().deviceType);
    m_devices->setCurrentRow(row);
    setWindowTitle(QStringLiteral("Setup ") + QString::fromLatin1(kDeviceNames[row]));
    connect(m_devices, &QListWidget::currentRowChanged, this, [this](int r) { Choose(r); });
    connect(open, &QPushButton::clicked, this, [this] {
        Finish();
        accept();
        m_frame.Execute(ToInt(CommandId::FileOpen));
    });
    connect(connectButton, &QPushButton::clicked, this, [this] {
        Finish();
        accept();
        m_frame.Execute(ToInt(CommandId::Connect));
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        Finish();
        reject();
    });
}

void StartDialog::Choose(int row) {
    if (row < 0 || row > 3)
        return;
    CSProfile& p = m_state.Profile();
    p.deviceType = DeviceTypeForRow(row);
    if (p.deviceType != 0) {
        p.acquireMode = 0;
        p.presetMode = kPresetModeNone;
        p.spTotalCts = p.spChanCts = p.spChanPosition = 0;
    }
    m_state.ApplyProfileToEnvironment();
    // One device stack runs at a time: the Kestrel's workers start or stop with the choice.
    m_state.ApplyDeviceType();
    if (DppSession* dpp = m_frame.Dpp())
        dpp->DeviceTypeChanged();
    m_frame.UpdateDevicePane();
    setWindowTitle(QStringLiteral("Setup ") + QString::fromLatin1(kDeviceNames[row]));
    m_frame.RefreshPanes();
}

void StartDialog::Finish() {
    if (m_dontShow->isChecked())
        m_state.Profile().startDlgShow = 0;
}

} // namespace vorna
