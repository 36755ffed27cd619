// The MCA and Setup menus. A Kestrel (device type 0) is driven through its acquisition
// controller on the Kestrel command thread (the window never waits on the analyzer), a DPP
// (types 1..4) through the window's DPP session.

#include <QMessageBox>
#include <functional>
#include <memory>

#include "app/CMainFrame.h"
#include "app/DppSession.h"
#include "app/PlotPanes.h"
#include "app/QtUserPrompt.h"
#include "app/RepeatMeasurementRunner.h"
#include "app/ShellContext.h"
#include "app/TextConvert.h"
#include "appcore/MenuState.h"
#include "appcore/ProgramState.h"
#include "display/CPlot.h"
#include "dpp/DppTypes.h"
#include "kestrel/ui/CAcqDlg.h"

namespace vorna {

namespace {

constexpr const char* kDefaultDppName = "Device";

bool IsDpp(ShellContext& c) {
    return c.state.Profile().deviceType != 0;
}

// Runs a Kestrel command on the command thread; `then` follows on the UI thread. Without a
// Kestrel stack (a DPP is selected) there is nothing to connect to.
bool OnKestrel(ShellContext& c, std::function<void(CAcq&)> job, std::function<void()> then = {}) {
    KestrelProgram* kestrel = c.state.Kestrel();
    if (!kestrel) {
        c.prompt.message("Can not connect to LUMO!", PromptStyle::Warning);
        return false;
    }
    kestrel->Run(std::move(job), [&c, then = std::move(then)] {
        if (then)
            then();
        c.frame.RefreshPanes();
    });
    return true;
}

void DppNotConnected(ShellContext& c) {
    std::string name = DppDeviceTypeName(c.state.Profile().deviceType);
    if (name.empty())
        name = kDefaultDppName;
    c.frame.SetStatusText(
        0, FromCore(name) + QStringLiteral(" not connected please reset Plover and try again..."));
    c.frame.SetDeviceIndicator(1, false);
    c.frame.SetDeviceIndicator(0, false);
}

// The DPP session, or nullptr after saying that no DPP link exists.
DppSession* Dpp(ShellContext& c) {
    DppSession* dpp = c.frame.Dpp();
    if (!dpp)
        DppNotConnected(c);
    return dpp;
}

} // namespace

void SetThresholdAtCursor(ShellContext& c, int channel) {
    if (IsDpp(c)) {
        if (DppSession* dpp = Dpp(c))
            dpp->SetThresholdAtCursor(channel);
        return;
    }
    OnKestrel(c, [channel](CAcq& a) { a.ChangeThreshold(channel); });
}

namespace {

void Connect(ShellContext& c) {
    if (IsDpp(c)) {
        if (DppSession* dpp = Dpp(c))
            dpp->Connect();
        return;
    }
    OnKestrel(
        c,
        [](CAcq& a) {
            a.ToggleConnection();
            a.PostConnectionState(a.Connected());
        },
        [&c] { c.frame.UpdateDevicePane(); });
}

// `then` runs once the acquisition state is current (at once for a DPP, after the device
// command for a Kestrel).
void StartStop(ShellContext& c, std::function<void()> then) {
    if (IsDpp(c)) {
        if (DppSession* dpp = Dpp(c)) {
            if (!dpp->StartStop()) {
                DppNotConnected(c);
                return;
            }
            c.frame.SetStatusText(0, c.state.Acquiring()
                                         ? QStringLiteral("Acquisition started...")
                                         : QStringLiteral("Acquisition stopped..."));
        }
        then();
        return;
    }
    OnKestrel(
        c,
        [](CAcq& a) {
            a.ToggleAcquisition();
            if (a.Connected())
                a.PostAcquisitionState(a.State() == AcqState::Acquiring);
        },
        std::move(then));
}

// Kestrel commands that act on the controller once it is connected; a DPP's Delete Data and
// Reset Time do nothing.
void KestrelOnly(ShellContext& c, bool dppToo, void (*action)(CAcq&)) {
    if (IsDpp(c)) {
        if (dppToo)
            DppNotConnected(c);
        return;
    }
    OnKestrel(c, [action](CAcq& a) {
        if (a.EnsureConnected())
            action(a);
    });
}

// F9 for the Kestrel: the status is read on the command thread, the dialog runs here, and what
// changed is sent from the command thread again (its questions come back to this thread).
void KestrelSetup(ShellContext& c) {
    auto values = std::make_shared<std::optional<AcqSetup>>();
    auto analyzer = std::make_shared<KestrelDeviceType>(KestrelDeviceType::Unknown);
    OnKestrel(
        c,
        [values, analyzer](CAcq& a) {
            *values = a.SetupValues();
            *analyzer = a.DeviceType();
        },
        [&c, values, analyzer] {
            if (!*values)
                return;
            const AcqSetup before = **values;
            auto cursor = [&c] { return c.frame.Panes().Model().CursorChannel(); };
            const std::optional<AcqSetup> after =
                RunAcqSetupDialog(before, c.state.Profile(), *analyzer, cursor, &c.frame);
            if (!after)
                return;
            c.state.PublishSettings();
            OnKestrel(c, [before, changed = *after](CAcq& a) { a.ApplySetup(before, changed); });
        });
}

void DisplaySettings(ShellContext& c) {
    CSpectraList& list = c.state.Spectra();
    const CSpectrum* s = list.GetActive();
    if (s && list.GetActivePosition() > 0 && s->m_nDppDeviceCode > 0) {
        QMessageBox::information(&c.frame, FromCore(s->m_strTag) + " Spectrum Information",
                                 FromCore(s->m_strDppConfig));
        return;
    }
    DppSession* dpp = c.frame.Dpp();
    if (s && list.GetActivePosition() == 0 && IsDpp(c) && dpp && c.state.DeviceConnected())
        QMessageBox::information(&c.frame, QStringLiteral("Configuration Settings"),
                                 FromCore(dpp->CurrentConfigurationText()));
}

// A DPP command that needs the session; the window's panes follow.
void OnDpp(ShellContext& c, void (*action)(DppSession&)) {
    if (!IsDpp(c))
        return;
    if (DppSession* dpp = Dpp(c))
        action(*dpp);
}

} // namespace

void RegisterDeviceCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    r.Register(ToInt(C::Connect), [&c] { Connect(c); });
    r.Register(ToInt(C::StartAcquisition),
               [&c] { StartStop(c, [&c] { c.frame.Repeat().AfterStartStop(); }); });
    r.Register(ToInt(C::UpdateData), [&c] {
        if (IsDpp(c))
            OnDpp(c, [](DppSession& d) { d.UpdateData(); });
        else
            KestrelOnly(c, true, [](CAcq& a) { a.RequestUpload(); });
    });
    r.Register(ToInt(C::DeleteData),
               [&c] { KestrelOnly(c, false, [](CAcq& a) { a.DeleteData(); }); });
    r.Register(ToInt(C::ResetTime),
               [&c] { KestrelOnly(c, false, [](CAcq& a) { a.ResetTime(); }); });
    r.Register(ToInt(C::DeleteDataAndResetTime), [&c] {
        if (IsDpp(c))
            OnDpp(c, [](DppSession& d) { d.DeleteDataAndResetTime(); });
        else
            KestrelOnly(c, true, [](CAcq& a) { a.DeleteDataAndResetTime(); });
    });
    r.Register(ToInt(C::AcquisitionSetup), [&c] {
        if (IsDpp(c)) {
            ReportNotAvailable(c, CommandId::AcquisitionSetup);
            return;
        }
        KestrelSetup(c);
    });
    r.Register(ToInt(C::DisplaySettings), [&c] { DisplaySettings(c); });
    r.Register(ToInt(C::StartStatusTimer),
               [&c] { OnDpp(c, [](DppSession& d) { d.StartWatch(); }); });
    r.Register(ToInt(C::StopStatusTimer), [&c] { OnDpp(c, [](DppSession& d) { d.StopWatch(); }); });
    r.Register(ToInt(C::ReadDppData), [&c] { OnDpp(c, [](DppSession& d) { d.UpdateData(); }); });
    r.Register(ToInt(C::OpenDppUsb), [&c] { OnDpp(c, [](DppSession& d) { d.OpenUsb(); }); });
    r.Register(ToInt(C::StartDataTimer),
               [&c] { OnDpp(c, [](DppSession& d) { d.StartDataTimerCommand(); }); });
    r.Register(ToInt(C::StopDataTimer),
               [&c] { OnDpp(c, [](DppSession& d) { d.StopDataTimerCommand(); }); });
    r.Register(ToInt(C::SendHardwareConfiguration),
               [&c] { OnDpp(c, [](DppSession& d) { d.SendHardwareConfiguration(); }); });
    r.Register(ToInt(C::McaDeltaMode),
               [&c] { OnDpp(c, [](DppSession& d) { d.ToggleDeltaMode(); }); });
    r.Register(ToInt(C::MultiplyDelta),
               [&c] { OnDpp(c, [](DppSession& d) { d.ScaleDelta(true); }); });
    r.Register(ToInt(C::DivideDelta),
               [&c] { OnDpp(c, [](DppSession& d) { d.ScaleDelta(false); }); });
    r.Register(ToInt(C::ConfigureMca), [&c] { ShowPreferences(c, PreferencesPage::Mca); });
    for (C id : {C::DppSetup, C::TuneThresholds, C::IncrementGain, C::DecrementGain})
        r.Register(ToInt(id), [&c, id] { ReportNotAvailable(c, id); });
}

} // namespace vorna
