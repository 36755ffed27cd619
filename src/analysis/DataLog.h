#pragma once
// Repeated measurements: numbered spectrum file names, time stamps, and the two CSV logs
// (Spectrum Data Log, Spectrum Resolution Test Log) with their header and data lines.

#include <ctime>
#include <string>

#include "common/DataFolders.h"
#include "spectrum/AnalysisSettings.h"

namespace vorna {

class CSpectrum;
class UserPrompt;

enum class DataLogKind : int { SpectrumData = 0, ResolutionTest = 1 };

// "Spectrum Data Log" / "Spectrum Resolution Test Log": names the log in error messages.
const char* DataLogTitle(DataLogKind kind);
// "SpectrumData.csv" / "SpectrumResTest.csv".
const char* DataLogFileName(DataLogKind kind);
// The column names joined by ',' (no line end).
std::string DataLogHeader(DataLogKind kind);

// directory + base + index zero-padded to as many digits as `loops` has + ".mca". A directory
// without a trailing separator gets one, so the file lands inside it.
std::string NumberedFileName(const std::string& directory, const std::string& base, long loops,
                             unsigned long index);

// "%04d%02d%02d_%02d%02d%02d" of a broken-down local time.
std::string TimeStampText(const std::tm& local);
// The same for a point in time, converted to local time (pass the clock's value).
std::string TimeStampText(std::time_t when);

// The DPP's current peaking time and flat top, as its configuration texts show them; only the
// resolution test log has these columns.
struct DppTimingText {
    std::string peakingTime;
    std::string flatTop;
};

// The data line (no line end) for `spectrum` saved at `savedPath`, from its selected ROI's
// statistics as last computed.
std::string DataLogLine(DataLogKind kind, const CSpectrum& spectrum,
                        const AnalysisSettings& settings, const std::string& savedPath,
                        const DppTimingText& dpp = {});

// Where a log goes: the repeat directory, and the program's own folder to fall back on when
// nothing can be written there.
struct LogDestination {
    std::string directory;        // RepeatMeasDirectory as stored ("\" or empty: no folder)
    std::string programDirectory; // folder of the running program
    std::string userDataFolder = UserDataFolder(); // what "no folder" stands for
};

// Appends `text` and CR LF to directory/fileName, the directory resolved by the folder rule
// (common/DataFolders.h). A directory that fails the write test is
// replaced by the program directory without a word; a file that cannot be written shows
// "---- %s File access error. ---- …" with the title and path. Returns true when written.
bool AppendLogLine(const std::string& title, const LogDestination& where,
                   const std::string& fileName, const std::string& text, UserPrompt* prompt);

// The header line of the chosen log, appended.
bool WriteLogHeader(DataLogKind kind, const LogDestination& where, UserPrompt* prompt);
// The data line of the chosen log, appended.
bool WriteLogDataLine(DataLogKind kind, const LogDestination& where, const CSpectrum& spectrum,
                      const AnalysisSettings& settings, const std::string& savedPath,
                      const DppTimingText& dpp, UserPrompt* prompt);

// Folder of the running program file, with a trailing separator.
std::string RunningProgramDirectory();

} // namespace vorna
