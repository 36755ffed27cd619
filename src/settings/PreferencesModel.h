#pragma once
// The preferences sheet without its window: the pages' working copies read from the profile,
// the Defaults buttons, the folder and file checks and range checks of OK / Apply, the values
// written back, and what the main window must reload after the sheet closes.

#include <array>
#include <optional>
#include <string>

#include "settings/PreferencesPages.h"
#include "settings/ProfileValues.h"

namespace vorna {

class CSProfile;
class UserPrompt;

// What applying the MCA page asks of the caller, who holds the acquisition controller: with a
// connected Kestrel the security code and battery type are sent (link failures not reported).
struct McaSendRequest {
    int securityCode = 0;
    int batteryType = 0; // 0 Alkaline, 1 NiCd
};

struct ApplyOutcome {
    bool applied = false; // false: a check failed, the sheet stays open
    std::optional<McaSendRequest> mcaSend;
    // The Analysis page was applied: the repeated-measurement run state is to be cleared and its
    // resolution-test option set to this.
    std::optional<bool> resolutionTestOption;
};

// "COM3" → 3; any other text, and COM0, → -1.
int ComPortFromText(const std::string& text);
std::string ComPortText(int port);
// Seconds text → whole milliseconds, or nullopt when not a number within 0..100000.
std::optional<int> IntervalMsFromText(const std::string& text);

// A spectra or library directory field losing the focus: true when the folder its text stands
// for (common/DataFolders.h) takes a 40000-byte scratch file; else the field's previous text is
// restored and "Invalid pathname - %1 files." shown by the caller.
bool FolderFieldHasRoom(const std::string& folderText);

// The General page's colour buttons act at once on the profile: the plot background and the
// backgrounds of the info and navigation panes.
enum class ColourPreset { Lumo, Vorna };
void ApplyColourPreset(CSProfile& profile, ColourPreset preset);

class PreferencesModel {
public:
    // Copies every page's values from the profile; the resolution-test option starts unchecked.
    PreferencesModel(const CSProfile& profile, int deviceType, const McaLinkState& link);

    GeneralPageValues general;
    McaPageValues mca;
    AnalysisPageValues analysis;
    PlotPageValues plot;

    // Any edit of a page's control.
    void MarkModified(PreferencesPage page) { m_modified[index(page)] = true; }
    bool IsModified(PreferencesPage page) const { return m_modified[index(page)]; }

    // The Defaults button of the active page: its defaults into the working copy, the page
    // modified; returns the status-pane text ("Defaults applied for General Setup..." …), empty
    // when the button is disabled (the MCA page of a DPP).
    std::string PressDefaults(PreferencesPage page);
    bool DefaultsUsed() const { return m_defaultsUsed; }

    // "Spectrum Resolution Test Option": checking it sets the number of loops to 24.
    void SetResolutionTest(bool on);
    bool InitialPeakingTimeEnabled() const { return analysis.resolutionTest; }
    bool ResolutionTestEnabled() const;
    bool FwhmSmoothsEnabled() const { return analysis.fwhmCalcMethod == 1; }

    // The folder and file fields. A folder or file chosen by browsing goes into the profile at
    // once; a field that loses the focus is checked against the file system. Each returns false
    // when the field's text was refused and replaced (the message is shown through `prompt`).
    void SpectraFolderChosen(CSProfile& profile, const std::string& folder);
    bool SpectraFolderEdited(CSProfile& profile, UserPrompt& prompt, const std::string& text);
    void TemplateChosen(CSProfile& profile, const std::string& path);
    bool TemplateEdited(UserPrompt& prompt, const std::string& text);
    void LibraryFolderChosen(CSProfile& profile, const std::string& folder);
    bool LibraryFolderEdited(CSProfile& profile, UserPrompt& prompt, const std::string& text);
    void LibraryFileChosen(CSProfile& profile, const std::string& path);
    bool LibraryFileEdited(UserPrompt& prompt, const std::string& text);
    void RepeatFolderChosen(const std::string& folder);
    // "Load Calibration on Startup" and "Load ROIs on Startup" are enabled while a template is
    // named; a template the folder browser reset to "*.mca" disables them.
    bool TemplateSwitchesEnabled() const { return m_templateSwitchesEnabled; }
    // The LUMO / VORNA colour buttons: the profile at once, and the Plot page's background.
    void ColourPresetPressed(CSProfile& profile, ColourPreset preset);

    // OK and Apply: the folder and file checks (skipped once a Defaults button was used), the
    // range checks of the modified pages, then each modified page written into the profile.
    // Stops at the first failure, its message shown through `prompt`.
    ApplyOutcome Apply(CSProfile& profile, UserPrompt& prompt);

private:
    static size_t index(PreferencesPage p) { return static_cast<size_t>(p); }
    bool CheckFoldersAndFiles(UserPrompt& prompt) const;
    bool CheckRanges(UserPrompt& prompt) const;
    void ApplyGeneral(CSProfile& profile) const;
    std::optional<McaSendRequest> ApplyMca(CSProfile& profile) const;
    void ApplyAnalysis(CSProfile& profile) const;
    void ApplyPlot(CSProfile& profile) const;

    int m_deviceType;
    McaLinkState m_link;
    std::array<bool, kPreferencesPageCount> m_modified{};
    bool m_defaultsUsed = false;
    bool m_templateSwitchesEnabled = true;
};

// What the main window does after the sheet closes, from the values before it opened and now.
struct AfterPreferences {
    bool loadLibrary = false;     // then show the library load result
    bool clearLibrary = false;    // empty a loaded library
    bool loadTemplate = false;    // then show the template load result
    bool clearLiveTables = false; // empty the live spectrum's ROIs and reset its calibration
    bool recomputeRois = false;   // recompute the active spectrum's ROI values when it has ROIs
};
AfterPreferences DecideAfterPreferences(const ProfileValues& before, const ProfileValues& after,
                                        bool defaultsUsed);

} // namespace vorna
