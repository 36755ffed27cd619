#pragma once
// The element line library: X-ray line energies with their names, read from a ".lib" text
// file, kept in ascending energy order, and matched against peaks.

#include <string>
#include <string_view>
#include <vector>

#include "common/DataFolders.h"

namespace vorna {

class CSpectrum;
class UserPrompt;

struct ElementLine {
    double energy = 0.0;
    std::string name; // element and line, file bytes (Windows-1252)
};

class ElementLibrary {
public:
    void Clear() { m_lines.clear(); }

    // Clears, then reads every line of a library file. Returns false (library empty) when the
    // file cannot be read; `error` then holds the system's reason.
    bool Load(const std::string& path, std::string* error = nullptr);
    // The same from the file's bytes (never fails).
    void LoadFromBytes(std::string_view bytes);

    bool IsLoaded() const { return !m_lines.empty(); }
    int GetCount() const { return static_cast<int>(m_lines.size()); }
    const ElementLine& Line(int i) const { return m_lines[static_cast<size_t>(i)]; }
    const std::vector<ElementLine>& Lines() const { return m_lines; }

    // The file name (without folder) of the last library loaded; shown in titles and reports.
    const std::string& DisplayName() const { return m_displayName; }
    void SetDisplayName(std::string name) { m_displayName = std::move(name); }

    // The line nearest to `energy` among those closer than fwhm × sensitivity, the first one
    // on ties; -1 for none.
    int Match(double energy, double fwhm, double sensitivity) const;

    // Indexes of the lines with energy in [energy - sensitivity, energy + sensitivity], in
    // ascending order (the library window's list around the cursor).
    std::vector<int> LinesAround(double energy, double sensitivity) const;

private:
    std::vector<ElementLine> m_lines;
    std::string m_displayName;
};

// One line of the element library file, as the reader takes it apart.
ElementLine ParseLibraryLine(std::string_view line);

// The element text callers show for a peak at `energy` with width `fwhm` (both in calibrated
// units): the line's name, "No match", or "None" when no library is loaded or calibrated units
// are off.
std::string ElementMatchText(const ElementLibrary& library, bool calibrateEnable, double energy,
                             double fwhm, double sensitivity);

// Profile values that decide the automatic load.
struct LibraryAutoLoadSettings {
    bool autoload = false; // library_autoload
    std::string directory; // library_directory as stored ("\" or empty: no folder)
    std::string file;      // library_file
    std::string userDataFolder = UserDataFolder(); // what "no folder" stands for
};

enum class LibraryLoadResult { NotAttempted, Loaded, Failed };

// The load at start-up and after the preferences change: nothing unless the settings name a
// file (no '*' in it). The file is looked for in the folder the directory setting stands for
// (common/DataFolders.h). A missing file shows "Invalid Library path or file - %s.", a read
// failure "Library internal load error - %s.".
LibraryLoadResult AutoLoadLibrary(ElementLibrary& library, const LibraryAutoLoadSettings& s,
                                  UserPrompt* prompt);

// The status-pane text of an automatic load done for the preferences: "Library Load
// Successful..." or "Library Load Failed..." (a load the settings do not allow counts as failed).
const char* LibraryLoadStatusText(LibraryLoadResult result);

// After the preferences close: `load` runs the automatic load and returns its status text;
// otherwise `clear` empties a loaded library ("Load on Startup" switched off, or Defaults used)
// and the text is empty.
std::string ReloadLibraryAfterPreferences(ElementLibrary& library, bool load, bool clear,
                                          const LibraryAutoLoadSettings& s, UserPrompt* prompt);

// The Load Library command after the file dialog: the display name becomes the chosen file's
// name and the file is loaded; a read failure clears the library and shows
// "Can not read the file %s. %s".
bool LoadLibraryFile(ElementLibrary& library, const std::string& path, UserPrompt* prompt);

// The library window: "Library - %s" and its rows (energy in the automatic number format,
// element) around the cursor energy.
std::string LibraryWindowTitle(const ElementLibrary& library);
struct LibraryWindowRow {
    std::string energy;
    std::string element;
};
std::vector<LibraryWindowRow> LibraryWindowRows(const ElementLibrary& library, double cursorEnergy,
                                                double sensitivity);
// The same around the plot cursor: the energy of `active` at the cursor's absolute channel (in
// calibrated units when `calibrateEnable`); no rows without a spectrum.
std::vector<LibraryWindowRow> LibraryRowsAtCursor(const ElementLibrary& library,
                                                  const CSpectrum* active, int cursorAbsolute,
                                                  bool calibrateEnable, double sensitivity);

} // namespace vorna
