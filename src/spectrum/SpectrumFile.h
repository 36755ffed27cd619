#pragma once
// File operations on spectra: open into the list, read into a given spectrum, save, save as,
// save to a path, template recall and revert. Dialogs and message boxes go through the
// UserPrompt port of the environment, so these run the same under the GUI, vorna-cli and tests.

#include <functional>
#include <string>

#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

class CSpectrum;
class CSpectraList;

// Results of open and read: done, done after an extension warning, failed (message shown).
enum class FileOpenResult : int { Done = 0, Warned = 1, Failed = -1 };

// The recently-used file list of the File menu.
class RecentFileList {
public:
    virtual ~RecentFileList() = default;
    virtual void AddRecentFile(const std::string& path) = 0;
};

// Opens a spectrum file as a new spectrum, adds it to the list and makes it active. Returns
// Done, Warned (extension warning shown, file still read) or Failed ("Can not
// open the file %s. %s" shown; nothing added). `opened` receives the spectrum when there is one.
FileOpenResult OpenSpectrumFile(CSpectraList& list, const std::string& path,
                                RecentFileList* recent = nullptr, CSpectrum** opened = nullptr);

// Reads a file into `spectrum` without touching the list (template recall, revert, batch
// tools). Same results as OpenSpectrumFile; after a failure the spectrum holds no channel data.
FileOpenResult ReadFileIntoSpectrum(const SpectrumEnvironment& env, const std::string& path,
                                    CSpectrum& spectrum);

// How a save ended.
enum class SaveResult { Saved, Cancelled, Failed };

// Save (showDialog false) or Save As (showDialog true) of one spectrum. `listPosition` is the
// spectrum's place in the spectra list: position 0 (the live spectrum) gets DPP blocks made from
// the connected device, every other spectrum keeps the blocks it was read with. A failure shows
// the system's text (or "System error.") and leaves the old file and file name in place.
SaveResult SaveSpectrum(const SpectrumEnvironment& env, CSpectrum& spectrum, bool showDialog,
                        int listPosition);

// Writes the spectrum to `path` (the repeated-measurement loop); only when the spectrum's own
// folder, or the spectra directory, exists.
SaveResult SaveSpectrumToPath(const SpectrumEnvironment& env, CSpectrum& spectrum,
                              const std::string& path, int listPosition);

// After a read or a write: the bare name when the file lies in the spectra directory, else the
// full path.
void SetFileNameFromPath(CSpectrum& spectrum, const std::string& path,
                         const std::string& spectraDirectory);

// Profile values that decide the template recall.
struct TemplateOptions {
    bool loadCalibration = false; // load_calibration
    bool loadRoi = false;         // load_roi
    std::string templateFile;     // m_strSpectrumTemplateFile, relative to the spectra directory
};

// Copies calibration and/or ROIs from the template file into the active spectrum. 1 when they
// were copied, else 0 (with a message when the template is missing or does not load).
int RecallTemplate(CSpectraList& list, const TemplateOptions& options);

// Rereads `spectrum` from its file. `workingDirectory` stands in for a bare name when the spectra
// directory is not set. False (with "Unable to Revert - unable to locate original spectrum
// file." in the status bar) when the file is missing or does not load.
bool RevertSpectrum(CSpectraList& list, CSpectrum& spectrum, const std::string& workingDirectory);

// What the File Open dialog shows.
struct OpenDialogSetup {
    std::string title = "Open";
    std::string defaultExtension = "mca";
    std::string initialDirectory; // empty: none
    std::string initialName;      // directory + "*.mca"
    std::string filter =
        "Spectra Data Files (*.mca)|*.mca|Spectra Data Files (*.mcs)|*.mcs|All Files (*.*)|*.*||";
};
OpenDialogSetup MakeOpenDialogSetup(const std::string& spectraDirectory);

// The File Open command: asks for a file through `choose` (false = Cancel) and opens it; asks
// again while the open only warned. Returns the last open's result, or Failed on Cancel.
FileOpenResult
OpenWithDialog(CSpectraList& list,
               const std::function<bool(const OpenDialogSetup&, std::string&)>& choose,
               RecentFileList* recent = nullptr);

} // namespace vorna
