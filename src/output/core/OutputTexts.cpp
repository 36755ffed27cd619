#include "output/core/OutputTexts.h"

#include <algorithm>

namespace vorna {

std::string ListPrintMessage(PrinterSelect select, bool printed) {
    switch (select) {
    case PrinterSelect::Failed:
        return kPrinterSetupFailedText;
    case PrinterSelect::Cancelled:
        return {};
    case PrinterSelect::NoPrinter:
    case PrinterSelect::Chosen:
        break;
    }
    return printed ? std::string() : std::string(kListPrintFailedText);
}

std::string CaptureFilePath(const std::string& directory, const std::string& name) {
    if (directory.empty())
        return name;
    const char last = directory.back();
    return last == '/' || last == '\\' ? directory + name : directory + "/" + name;
}

std::string SaveBitmapFailedText(const std::string& path) {
    return "Error saving file - " + path + ".";
}

std::string SaveBitmapStartFolder(const std::string& spectraDirectory, bool directoryHasEntries) {
    if (!directoryHasEntries || spectraDirectory.empty())
        return {};
    if (spectraDirectory == ".\\" || spectraDirectory == "./" || spectraDirectory == ".")
        return {};
    return spectraDirectory;
}

int ClampScroll(int position, int pictureSize, int viewSize) {
    return std::clamp(position, 0, std::max(0, pictureSize - viewSize));
}

} // namespace vorna
