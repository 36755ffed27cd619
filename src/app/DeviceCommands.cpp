// The MCA and Setup menus. The device links are not part of this program yet, so every device
// command takes its "not connected" path: the connect attempt fails with the link's message and
// the status bar and indicators say so.

#include <QMessageBox>

#include "app/CMainFrame.h"
#include "app/QtUserPrompt.h"
#include "app/ShellContext.h"
#include "app/TextConvert.h"
#include "appcore/MenuState.h"
#include "appcore/ProgramState.h"

namespace vorna {

namespace {

constexpr const char* kDefaultDppName = "Device";

bool IsDpp(ShellContext& c) {
    return c.state.Profile().deviceType != 0;
}

// The interactive connect of the Kestrel: no serial link can be opened in this build.
bool KestrelEnsureConnected(ShellContext& c) {
    if (c.state.DeviceConnected())
        return true;
    if (c.state.Profile().comPort < 0)
        c.prompt.message("Communication port is not defined!", PromptStyle::Warning);
    else
        c.prompt.message("Can not connect to LUMO!", PromptStyle::Warning);
    c.frame.SetDeviceIndicator(1, false);
    return false;
}

void DppNotConnected(ShellContext& c) {
    c.frame.SetStatusText(
        0, QString::fromLatin1(kDefaultDppName) +
               QStringLiteral(" not connected please reset Plover and try again..."));
    c.frame.SetDeviceIndicator(1, false);
    c.frame.SetDeviceIndicator(0, false);
}

void Connect(ShellContext& c) {
    if (IsDpp(c)) {
        c.frame.SetStatusText(0, QStringLiteral("Connecting to DPP, please wait..."));
        // No DPP can be counted without the USB link.
        DppNotConnected(c);
        return;
    }
    KestrelEnsureConnected(c);
    c.frame.SetStatusText(0,
                          QString::fromStdString(KestrelConnectionText(c.state.DeviceConnected())));
}

void StartStop(ShellContext& c) {
    if (IsDpp(c)) {
        DppNotConnected(c);
        return;
    }
    KestrelEnsureConnected(c);
    c.frame.SetStatusText(0, c.state.Acquiring() ? QStringLiteral("Acquisition started...")
                                                 : QStringLiteral("Acquisition stopped..."));
    c.frame.SetDeviceIndicator(0, c.state.Acquiring());
}

// Kestrel commands that begin with EnsureConnected; a DPP's Delete Data and Reset Time do
// nothing.
void KestrelOnly(ShellContext& c, bool dppToo) {
    if (IsDpp(c)) {
        if (dppToo)
            DppNotConnected(c);
        return;
    }
    KestrelEnsureConnected(c);
}

void DisplaySettings(ShellContext& c) {
    CSpectraList& list = c.state.Spectra();
    const CSpectrum* s = list.GetActive();
    if (s && list.GetActivePosition() > 0 && s->m_nDppDeviceCode > 0) {
        QMessageBox::information(&c.frame, FromCore(s->m_strTag) + " Spectrum Information",
                                 FromCore(s->m_strDppConfig));
    }
    // The live spectrum's configuration needs a connected DPP.
}

} // namespace

void RegisterDeviceCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    r.Register(ToInt(C::Connect), [&c] { Connect(c); });
    r.Register(ToInt(C::StartAcquisition), [&c] { StartStop(c); });
    r.Register(ToInt(C::UpdateData), [&c] { KestrelOnly(c, true); });
    r.Register(ToInt(C::DeleteData), [&c] { KestrelOnly(c, false); });
    r.Register(ToInt(C::ResetTime), [&c] { KestrelOnly(c, false); });
    r.Register(ToInt(C::DeleteDataAndResetTime), [&c] { KestrelOnly(c, true); });
    r.Register(ToInt(C::AcquisitionSetup), [&c] {
        if (IsDpp(c))
            ReportNotAvailable(c, CommandId::AcquisitionSetup);
        else
            KestrelEnsureConnected(c);
    });
    r.Register(ToInt(C::DisplaySettings), [&c] { DisplaySettings(c); });
    for (C id :
         {C::DppSetup, C::ConfigureMca, C::SendHardwareConfiguration, C::TuneThresholds,
          C::McaDeltaMode, C::MultiplyDelta, C::DivideDelta, C::IncrementGain, C::DecrementGain})
        r.Register(ToInt(id), [&c, id] { ReportNotAvailable(c, id); });
}

} // namespace vorna
