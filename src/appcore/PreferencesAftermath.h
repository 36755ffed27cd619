#pragma once
// What the main window does once the preferences sheet has closed: reload the element library or
// the spectrum template and recompute ROI values, each only when its settings changed.

#include <string>
#include <vector>

#include "settings/PreferencesModel.h"

namespace vorna {

class ProgramState;

struct AftermathResult {
    std::vector<std::string> statusTexts; // for status pane 0, in order
    bool roisRecomputed = false;          // the active spectrum's ROI values were recomputed
    bool changedSpectra = false;          // something to redraw
};

// `decision` comes from DecideAfterPreferences; the profile already holds the new values.
AftermathResult RunAfterPreferences(ProgramState& state, const AfterPreferences& decision);

} // namespace vorna
