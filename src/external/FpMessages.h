#pragma once
// The companion protocol's command codes and answer texts. The texts are what companions match
// on, so they are kept byte for byte, odd spacing and the load/save mix-ups included.

#include <cstdint>

namespace vorna {

// Copy-data requests (a code and a text).
enum class FpDataCode : uint32_t {
    DotsData = 1,
    S1Data = 2,
    FpVersion = 9,
    FpMethods = 10,
    FpOption = 11,
    StatusText = 13,
    DotsTag = 19,
    S1Tag = 29,
    SaveSpectrum = 30,    // CMD_LUMO_SAVE_SPECTRUM
    LoadSpectrum = 31,    // CMD_LUMO_LOAD_SPECTRUM
    PutCalibEntries = 32, // CMD_LUMO_PUT_CALIB_ENTRIES
};

// Private-message commands (a code and an integer argument).
enum class FpCommandCode : int {
    DotsCounts = 1,
    S1Counts = 2,
    Preset = 3,
    TimeMode = 4,
    FilePath = 5,
    Version = 12,
    ClearGroup = 14,
    LiveTime = 15,
    RealTime = 16,
    Channels = 17,
    Calibration = 18,
    GroupExists = 20,
    RoiCount = 21,
    CalibrateEnabled = 22,
    RoiData = 23,
    LibraryPath = 24,
    LibraryShown = 25,
    LibraryLoaded = 26,
    DeviceState = 27,
    ConnectKestrel = 28,
    McaSecondsMode = 33,
};

// The answer code of every failure.
inline constexpr uint32_t kFpErrorCode = 100;
// The answer code of an unknown command while S1 exists.
inline constexpr uint32_t kFpUnknownCode = 0;
// Counts answers and S1/DOTS writes stop here.
inline constexpr int kFpMaxChannels = 4096;
// Tags set by a companion are cut to this length.
inline constexpr int kFpTagLength = 12;
// Paths from this length on are refused.
inline constexpr int kFpMaxPath = 256;

namespace fptext {
inline constexpr const char* kUnknownCommand = "Error - Unknown command. Attempted command = %d";
inline constexpr const char* kOptionOutOfRange =
    "Error - command option out of range. Attempted command = %d";
inline constexpr const char* kNoS1 =
    "Spectrum Group Mgmt Error - No spectrum define for the S1 group.";
inline constexpr const char* kS1Only =
    "Spectrum Group Mgmt Error - Parameters retrieved for S1 group only.";
inline constexpr const char* kS1OnlyOperation =
    "Spectrum Group Mgmt Error - FP can only operate on the S1 group.";
inline constexpr const char* kSizeZero = "FP Error - Spectrum size is 0.";
inline constexpr const char* kDotsCreate = "Error creating DOTS group.";
inline constexpr const char* kLoadEmptyName = "Empty filename - CMD_LUMO_LOAD_SPECTRUM.";
inline constexpr const char* kTooLong = "Filename too long ( > 255 char) - CMD_LUMO_SAVE_SPECTRUM.";
inline constexpr const char* kLoadNotFound = "File not found - CMD_LUMO_LOAD_SPECTRUM.";
inline constexpr const char* kClearGroups = "Unable to clear groups - CMD_LUMO_LOAD_SPECTRUM.";
inline constexpr const char* kSaveParameters = "Invalid parameters - CMD_LUMO_SAVE_SPECTRUM.";
inline constexpr const char* kSaveDelete = "Unable to delete file - CMD_LUMO_SAVE_SPECTRUM.";
inline constexpr const char* kSaveInvalidPath = "Invalid path or device - CMD_LUMO_SAVE_SPECTRUM.";
inline constexpr const char* kSaveDiskFull = "Disk or directory full - CMD_LUMO_SAVE_SPECTRUM.";
inline constexpr const char* kCalibParameters = "Invalid parameters - CMD_LUMO_PUT_CALIB_ENTRIES.";
inline constexpr const char* kCalibNoLabel = "No calibration label  - CMD_LUMO_PUT_CALIB_ENTRIES.";
inline constexpr const char* kCalibGroup = "Invalid spectrum group - CMD_LUMO_PUT_CALIB_ENTRIES.";
// Our own refusal of a request text too large to be a spectrum or a command.
inline constexpr const char* kTextTooLong = "Request text too long ( > 1 MiB) - refused.";
inline constexpr const char* kUnknownTag = "UnknownTag";
inline constexpr const char* kNoDescription = "No Description";
inline constexpr const char* kMcaConnected = "MCA connected...";
inline constexpr const char* kMcaNotConnected = "MCA not connected...";
} // namespace fptext

// True for the copy-data codes the window takes (its procedure then returns 1).
bool IsListedDataCode(uint32_t code);
// True for the copy-data codes that answer (only on failure).
bool DataCodeAnswersFailure(uint32_t code);
// True for the private-message commands that need S1 (the data commands, unknown codes too).
bool CommandNeedsS1(int code);

} // namespace vorna
