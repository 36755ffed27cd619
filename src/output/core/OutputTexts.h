#pragma once
// The texts and small decisions of printing, copying and capturing, kept where tests reach them
// without a window.

#include <string>

namespace vorna {

inline constexpr const char* kPrintDocumentName = "Quorix VORNA";
inline constexpr const char* kNoPrinterText = "Can not attach the default printer!";
inline constexpr const char* kPrinterSetupFailedText = "Failed to set printer settings!";
inline constexpr const char* kListPrintFailedText = "Failed to print list control contents!";
inline constexpr const char* kNoRoisText = "No ROIs in spectrum.";
inline constexpr const char* kRoiPrintDoneText = "Printing of ROIs was successful.";
inline constexpr const char* kRoiPrintFailedText = "Printing of ROIs failed.";
inline constexpr const char* kKeyboardPrintTitle = "Keyboard Shortcuts";

inline constexpr const char* kCaptureFileName = "LUMO-tmp.bmp";
inline constexpr const char* kCaptureDoneText = "Window capture successful...";
inline constexpr const char* kCaptureFailedText = "Window capture failed...";
inline constexpr const char* kNoCaptureQuestion =
    "No previous screen capture exists.  Capture window now?";
inline constexpr const char* kCaptureMissingText = "Unable to find temporary bitmap file.";
inline constexpr const char* kPreviewFileNotFound = "File not found.";
inline constexpr const char* kSaveBitmapTitle = "Save Bitmap As";
inline constexpr const char* kSaveBitmapTip =
    "Save the captured window as a Windows bitmap (*.bmp) file";

// Results of choosing the printer of a list print.
enum class PrinterSelect { Failed = -2, Cancelled = -1, NoPrinter = 0, Chosen = 1 };

// What a list print user says after choosing the printer and printing: the message box text, or
// nothing (printed, or the dialog was cancelled).
std::string ListPrintMessage(PrinterSelect select, bool printed);

// "LUMO-tmp.bmp" in `directory`, with one separator between them.
std::string CaptureFilePath(const std::string& directory,
                            const std::string& name = kCaptureFileName);

// "Error saving file - <path>."
std::string SaveBitmapFailedText(const std::string& path);

// The folder the bitmap save dialog starts in: the spectra directory when it holds anything and
// is not the bare current folder, else the system's choice (empty).
std::string SaveBitmapStartFolder(const std::string& spectraDirectory, bool directoryHasEntries);

// Scroll position of a picture in a smaller view: between 0 and the part that does not fit.
int ClampScroll(int position, int pictureSize, int viewSize);

} // namespace vorna
