#pragma once
// One DPP configuration file: 43 lines, one setting each, CR LF line ends, no header.

#include <string>
#include <string_view>

#include "common/DataFolders.h"
#include "dpp/DppConfigStrings.h"

namespace vorna {

class UserPrompt;

// The result of a file operation: when it fails, `message` holds the text of the message box
// (caption kConfigFileErrorCaption), empty when the user cancelled.
struct DppFileOutcome {
    bool ok = true;
    std::string message;
};

// Shows a failed outcome's message as a warning; nothing for success or a cancel.
void ShowOutcome(UserPrompt& prompt, const DppFileOutcome& outcome);

class DppConfigFile {
public:
    static constexpr const char* kFilter =
        "Heron Plover Setup Files (*.cfg)|*.cfg|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
    static constexpr const char* kDefaultStem = "DPPCFG";
    static constexpr const char* kDefaultExtension = "cfg";
    // Lines a file written before the acquisition-mode lines existed holds.
    static constexpr int kOldLineCount = 41;
    // A configuration file is a few hundred bytes; anything this large is not one.
    static constexpr size_t kMaxFileBytes = 1 << 20;

    DppConfigFile() = default;
    explicit DppConfigFile(const DppConfigStrings& start) : strings(start) {}

    // Reads the file at `path` into the strings under an exclusive lock. Lines beyond the end of
    // a short file keep their old text. The strings are not converted to a record here.
    DppFileOutcome Load(const std::string& path, int deviceType);
    // The line reading of Load on bytes already in memory; true when the text held the whole
    // configuration (41-line texts complete with "0" for acquisition mode and MCS timebase).
    bool ReadLines(std::string_view text);

    // Writes the strings to `path` (set by Load or the save dialog) through a temporary file and
    // a rename, so a failed save leaves the previous file intact. A read-only or locked file is
    // not touched.
    DppFileOutcome Save(int deviceType);
    // The file's bytes as Save writes them.
    std::string Text() const;

    // The save dialog proposes "DPPCFG1", "DPPCFG2", ... within one run, in `dialogFolder`.
    std::string NextProposedName();
    // Save dialog, then Save; a cancel is a failed outcome without message.
    DppFileOutcome SaveWithDialog(int deviceType, UserPrompt& prompt);

    std::string path;
    DppConfigStrings strings;
    int saveCounter = 0;
    // Where the save dialog starts, never the working directory: the per-user data folder (made
    // when first needed) unless the caller passes the resolved spectra folder.
    std::string dialogFolder = UserDataFolder();
};

} // namespace vorna
