// The preferences sheet, one picture per page.

#include <QTabWidget>

#include "Gallery.h"
#include "app/CMainFrame.h"
#include "app/prefs/CProperties.h"
#include "appcore/ProgramState.h"
#include "common/UserPrompt.h"

namespace vorna::gallery {
namespace {

// The sheet on `page` as a connected Kestrel (device type 0) or a DPP shows it.
void Open(CMainFrame& frame, ProgramState& state, PreferencesPage page, int deviceType) {
    // Nothing to say in a picture: the MCA page's "not connected" notice would hide the sheet.
    SilentPrompt prompt;
    CProperties sheet(state.Profile(), deviceType, {deviceType == 0, 0, 0}, prompt, page, {},
                      &frame);
    sheet.exec();
}

Shot shot(const char* name, PreferencesPage page, int deviceType = 0) {
    return {name,
            [page, deviceType](CMainFrame& f, ProgramState& s) { Open(f, s, page, deviceType); }};
}

const Registrar general{shot("preferences-general", PreferencesPage::General)};
const Registrar mca{shot("preferences-mca", PreferencesPage::Mca)};
const Registrar mcaDpp{shot("preferences-mca-dpp", PreferencesPage::Mca, 1)};
const Registrar analysis{shot("preferences-analysis", PreferencesPage::Analysis)};
const Registrar plot{shot("preferences-plot", PreferencesPage::Plot)};

} // namespace
} // namespace vorna::gallery
