// The commands that open the preferences sheet, and what the program does around it: the MCA
// page's values to and from the Kestrel controller, the panes redrawn, and the reloads once the
// sheet has closed.

#include "app/CMainFrame.h"
#include "app/InfoPane.h"
#include "app/PlotPanes.h"
#include "app/QtUserPrompt.h"
#include "app/RepeatMeasurementRunner.h"
#include "app/ShellContext.h"
#include "app/TextConvert.h"
#include "app/prefs/CProperties.h"
#include "appcore/PreferencesAftermath.h"
#include "appcore/ProgramState.h"

namespace vorna {

namespace {

McaLinkState LinkState(ProgramState& state) {
    CAcq* acq = state.Acq();
    if (state.Profile().deviceType != 0 || !acq)
        return {};
    const McaPreferences v = acq->PreferencesValues();
    return {v.connected, v.securityCode, v.batteryType};
}

void Redraw(ShellContext& c) {
    c.frame.Panes().ApplyProfile();
    c.frame.Info()->ApplyProfileLook();
    c.frame.RefreshPanes();
}

void Applied(ShellContext& c, const ApplyOutcome& outcome) {
    if (outcome.mcaSend && c.state.Kestrel()) {
        const auto code = static_cast<uint16_t>(outcome.mcaSend->securityCode);
        const int battery = outcome.mcaSend->batteryType;
        c.state.Kestrel()->Run([code, battery](CAcq& a) { a.ApplyPreferences(code, battery); });
    }
    if (outcome.resolutionTestOption) {
        // The Analysis page's repeat settings start a series afresh.
        RepeatMeasurement& series = c.frame.Repeat().Series();
        series.Stop();
        series.SetResolutionTestOption(*outcome.resolutionTestOption);
    }
    c.state.ApplyProfileToEnvironment();
    Redraw(c);
}

} // namespace

void ShowPreferences(ShellContext& c, PreferencesPage page) {
    CSProfile& profile = c.state.Profile();
    const ProfileValues before = profile;
    PreferencesHooks hooks;
    hooks.status = [&c](const std::string& text) { c.frame.SetStatusText(0, FromCore(text)); };
    hooks.applied = [&c](const ApplyOutcome& outcome) { Applied(c, outcome); };
    hooks.coloursChanged = [&c] { Redraw(c); };
    CProperties sheet(profile, profile.deviceType, LinkState(c.state), c.prompt, page,
                      std::move(hooks), &c.frame);
    sheet.exec();
    const AfterPreferences decision =
        DecideAfterPreferences(before, profile, sheet.Model().DefaultsUsed());
    const AftermathResult result = RunAfterPreferences(c.state, decision);
    for (const std::string& text : result.statusTexts)
        c.frame.SetStatusText(0, FromCore(text));
    Redraw(c);
    c.frame.UpdateCommandStates();
}

void RegisterPreferencesCommands(CommandRouter& r, ShellContext& c) {
    r.Register(ToInt(CommandId::Preferences),
               [&c] { ShowPreferences(c, PreferencesPage::General); });
    r.Register(ToInt(CommandId::PlotPane), [&c] { ShowPreferences(c, PreferencesPage::Plot); });
}

} // namespace vorna
