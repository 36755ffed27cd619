#include "app/AboutDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/DppSession.h"
#include "app/TextConvert.h"
#include "app/ToolbarIcons.h"
#include "appcore/ProgramState.h"
#include "appcore/VersionText.h"
#include "dpp/DppTypes.h"
#include "kestrel/CAcq.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

namespace {
// The companion files whose versions the box lists, looked up in the program's folder.
constexpr const char* kFpLibrary = "ElemixFP.dll";
constexpr const char* kSpLibrary = "ElemixSP.dll";
constexpr const char* kElemix = "Elemix.Exe";
constexpr const char* kFlare = "FlareCtrl.exe";

QString Version(const QString& dir, const char* file) {
    return QString::fromStdString(FileProductVersion(PathToCore(dir + '/' + file)));
}
} // namespace

const char* AboutDialog::BuildDate() {
    return __DATE__;
}

const char* AboutDialog::BuildTime() {
    return __TIME__;
}

QStringList AboutDialog::DeviceLines(ProgramState& state, DppSession* dpp) {
    AboutDeviceFacts f;
    f.deviceType = state.Profile().deviceType;
    if (const CAcq* acq = state.Acq(); acq && acq->Connected()) {
        f.kestrelModel = static_cast<int>(acq->DeviceType());
        f.kestrelUsb = acq->UsbMode();
        f.kestrelSerial = acq->Status().serial;
    }
    if (f.deviceType != 0) {
        f.dppName = DppDeviceTypeName(f.deviceType);
        if (dpp) {
            const DppStatusRecord& status = dpp->Device().status;
            if (dpp->Controller().connected()) {
                f.dppSerial = status.serialNumber;
                f.dppFirmwareByte = status.firmwareVersionByte;
                f.dppFpgaByte = status.fpgaVersionByte;
                f.usbDriverVersion = dpp->Link().DriverVersion();
            }
        }
    }
    CSpectraList& list = state.Spectra();
    auto guard = list.Lock();
    if (const CSpectrum* shown = list.GetActive(); shown && shown->m_nDppDeviceCode > 0) {
        auto locked = shown->Lock();
        f.shownHasDpp = true;
        f.shownName = locked->DppValueText(DppValue::DeviceType);
        f.shownSerial = locked->DppValueText(DppValue::SerialNumber);
        f.shownFirmware = locked->DppValueText(DppValue::Firmware);
        f.shownFpga = locked->DppValueText(DppValue::Fpga);
    }
    QStringList lines;
    for (const std::string& line : AboutDeviceLines(f))
        lines << FromCore(line);
    return lines;
}

QStringList AboutDialog::InfoLines(ProgramState& state, const QString& dir, DppSession* dpp) {
    QStringList lines = DeviceLines(state, dpp);
    // The running companion's own word, once it has told it, over the file's version.
    const std::string& told = state.Companion().version;
    lines << QStringLiteral("FP DLL Version:  %1")
                 .arg(told.empty() ? Version(dir, kFpLibrary) : FromCore(told))
          << QStringLiteral("SP DLL Version:  %1").arg(Version(dir, kSpLibrary))
          << QStringLiteral("Elemix Version:  %1").arg(Version(dir, kElemix));
    if (QFileInfo::exists(dir + '/' + kFlare))
        lines << QStringLiteral("Flare Version:  %1").arg(Version(dir, kFlare));
    return lines;
}

AboutDialog::AboutDialog(ProgramState& state, QWidget* parent, DppSession* dpp) : QDialog(parent) {
    setObjectName("AboutDialog");
    setWindowTitle(QStringLiteral("About VORNA"));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    layout->addWidget(icon);
    layout->addWidget(new QLabel(QStringLiteral("VORNA spectrum acquisition and analysis"), this));
    layout->addWidget(new QLabel(QStringLiteral("Version %1").arg(VORNA_VERSION_TEXT), this));
    layout->addWidget(new QLabel(QString::fromLatin1(kLegalNotice), this));
    layout->addWidget(new QLabel(QStringLiteral("%1  %2").arg(QString::fromLatin1(BuildDate()),
                                                              QString::fromLatin1(BuildTime())),
                                 this));
    auto* list = new QListWidget(this);
    list->setObjectName("AboutList");
    list->addItems(InfoLines(state, QCoreApplication::applicationDirPath(), dpp));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace vorna
