#include "analysis/DataLog.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "analysis/NumberFormat.h"
#include "common/DataFolders.h"
#include "common/NumberText.h"
#include "common/ScratchFile.h"
#include "common/UserPrompt.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string withTrailingSeparator(std::string directory) {
    if (!directory.empty() && directory.back() != '/' && directory.back() != '\\')
        directory += kSeparator;
    return directory;
}

int decimalDigits(long n) {
    unsigned long m = n < 0 ? 0UL - static_cast<unsigned long>(n) : static_cast<unsigned long>(n);
    int digits = 1;
    while (m >= 10) {
        m /= 10;
        ++digits;
    }
    return digits;
}

// Can a log of some size be written in `directory`? A scratch file is created exclusively (a
// file of the user's that happens to have the scratch name is never touched), filled with 40000
// real bytes and removed.
bool directoryAcceptsWrites(const std::string& directory) {
    return WriteTestAt(directory + "temp.tmp", 40000);
}

} // namespace

const char* DataLogTitle(DataLogKind kind) {
    return kind == DataLogKind::ResolutionTest ? "Spectrum Resolution Test Log"
                                               : "Spectrum Data Log";
}

const char* DataLogFileName(DataLogKind kind) {
    return kind == DataLogKind::ResolutionTest ? "SpectrumResTest.csv" : "SpectrumData.csv";
}

std::string DataLogHeader(DataLogKind kind) {
    std::string header = "Filename,Date Time Stamp,Total Counts,Centroid,FWHM,Net Area,"
                         "Uncertainty,Net Rate,Gross Area";
    if (kind == DataLogKind::ResolutionTest)
        header += ",Peak Time,Flattop";
    return header;
}

std::string NumberedFileName(const std::string& directory, const std::string& base, long loops,
                             unsigned long index) {
    return Format("%s%s%0*lu%s", withTrailingSeparator(directory).c_str(), base.c_str(),
                  decimalDigits(loops), index, ".mca");
}

std::string TimeStampText(const std::tm& t) {
    return Format("%04d%02d%02d_%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                  t.tm_min, t.tm_sec);
}

std::string TimeStampText(std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    return TimeStampText(local);
}

std::string DataLogLine(DataLogKind kind, const CSpectrum& spectrum,
                        const AnalysisSettings& settings, const std::string& savedPath,
                        const DppTimingText& dpp) {
    std::string line = "file://" + savedPath;
    line += ',';
    line += spectrum.m_szStartTime;
    line += ',';
    line += FormatNumber(spectrum.m_dTotalCounts);

    const int selected = spectrum.m_roi.GetSelected();
    const bool hasPeak = selected >= 0 && selected < spectrum.m_roi.GetCount() &&
                         spectrum.m_roi[selected].status >= RoiStatus::Marginal;
    if (!hasPeak) {
        // Every remaining column stays empty.
        line += kind == DataLogKind::ResolutionTest ? ",,,,,,,," : ",,,,,,";
        return line;
    }

    const CRoiEntry& roi = spectrum.m_roi[selected];
    const bool calibrated = settings.calibrateEnable != 0;
    const double centroid = spectrum.m_calibrate.ChannelToValue(roi.centroid, calibrated);
    double fwhm = spectrum.m_calibrate.WidthToValue(roi.fwhm, calibrated);
    if (!(fwhm > 0.0))
        fwhm = 0.0;
    line += ',';
    line += FormatNumber(centroid);
    line += ',';
    if (settings.fwhmCalcMethod == FwhmMethod::Percent)
        line += Format("%1.2f", centroid > 0.0 ? fwhm / centroid * 100.0 : 0.0);
    else
        line += Format("%1.4f", fwhm);
    line += ',';
    line += Format("%1.0f", roi.netArea);
    line += ',';
    line += FormatNumber(roi.uncertainty);
    line += ',';
    if (spectrum.m_dLiveTime != 0.0)
        line += FormatNumber(roi.netArea / spectrum.m_dLiveTime);
    line += ',';
    line += FormatNumber(roi.grossArea);
    if (kind == DataLogKind::ResolutionTest) {
        line += ',';
        line += dpp.peakingTime;
        line += ',';
        line += dpp.flatTop;
    }
    return line;
}

bool AppendLogLine(const std::string& title, const LogDestination& where,
                   const std::string& fileName, const std::string& text, UserPrompt* prompt) {
    // "No folder" is the per-user data folder, made when first needed; a folder the user named
    // is only written to, never created.
    std::string directory = ResolveFolder(where.directory, where.userDataFolder);
    if (IsUnsetFolder(where.directory))
        EnsureFolder(directory);
    if (!directoryAcceptsWrites(directory))
        directory = withTrailingSeparator(where.programDirectory);
    const std::string path = directory + fileName;

    bool written = false;
    if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
        std::string record = text + "\r\n";
        written = std::fwrite(record.data(), 1, record.size(), f) == record.size();
        // A line lost on a full disk is as lost as one that could not be opened.
        written = (std::fclose(f) == 0) && written;
    }
    if (!written && prompt)
        prompt->message(Format("---- %s File access error. ---- \n\r Please close file if open "
                               "in another application. \n\r Check file and path for access. "
                               "\n\r %s",
                               title.c_str(), path.c_str()));
    return written;
}

bool WriteLogHeader(DataLogKind kind, const LogDestination& where, UserPrompt* prompt) {
    return AppendLogLine(DataLogTitle(kind), where, DataLogFileName(kind), DataLogHeader(kind),
                         prompt);
}

bool WriteLogDataLine(DataLogKind kind, const LogDestination& where, const CSpectrum& spectrum,
                      const AnalysisSettings& settings, const std::string& savedPath,
                      const DppTimingText& dpp, UserPrompt* prompt) {
    return AppendLogLine(DataLogTitle(kind), where, DataLogFileName(kind),
                         DataLogLine(kind, spectrum, settings, savedPath, dpp), prompt);
}

std::string RunningProgramDirectory() {
    // Where the system cannot tell, the working folder is the best guess.
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return withTrailingSeparator(std::filesystem::current_path(ec).string());
    return withTrailingSeparator(exe.parent_path().string());
}

} // namespace vorna
