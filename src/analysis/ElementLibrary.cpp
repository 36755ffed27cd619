#include "analysis/ElementLibrary.h"

#include <algorithm>
#include <cmath>

#include "analysis/NumberFormat.h"
#include "common/AtomicFile.h"
#include "common/DataFolders.h"
#include "common/NumberText.h"
#include "common/Text.h"
#include "common/UserPrompt.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

std::string fileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

ElementLine ParseLibraryLine(std::string_view line) {
    ElementLine result;
    size_t used = 0;
    std::optional<double> energy = ScanDoublePrefix(line, used);
    // "nan" has no place in an energy-ordered list; such a line reads as having no number.
    if (energy && !std::isnan(*energy))
        result.energy = *energy;
    size_t comma = line.find(',');
    if (comma == std::string_view::npos)
        return result;
    size_t start = comma + 1;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    result.name.assign(line.substr(start));
    return result;
}

void ElementLibrary::LoadFromBytes(std::string_view bytes) {
    m_lines.clear();
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        std::string_view line =
            bytes.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? bytes.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() == ';')
            continue;
        // Empty lines count too: they are lines of energy 0 without a name.
        m_lines.push_back(ParseLibraryLine(line));
    }
    // Inserting each line before the first one of greater energy is a stable sort: equal
    // energies keep their file order.
    std::stable_sort(
        m_lines.begin(), m_lines.end(),
        [](const ElementLine& a, const ElementLine& b) { return a.energy < b.energy; });
}

bool ElementLibrary::Load(const std::string& path, std::string* error) {
    m_lines.clear();
    std::string bytes;
    FileResult r = ReadWholeFile(path, bytes);
    if (!r.ok) {
        if (error)
            *error = r.error;
        return false;
    }
    LoadFromBytes(bytes);
    return true;
}

int ElementLibrary::Match(double energy, double fwhm, double sensitivity) const {
    const double tolerance = fwhm * sensitivity;
    int best = -1;
    double bestDistance = 0.0;
    for (int i = 0; i < GetCount(); ++i) {
        double d = m_lines[static_cast<size_t>(i)].energy - energy;
        if (d > tolerance)
            break;
        double distance = std::fabs(d);
        if (distance < tolerance && (best < 0 || distance < bestDistance)) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<int> ElementLibrary::LinesAround(double energy, double sensitivity) const {
    std::vector<int> result;
    const double low = energy - sensitivity;
    const double high = energy + sensitivity;
    for (int i = 0; i < GetCount(); ++i) {
        double e = m_lines[static_cast<size_t>(i)].energy;
        if (e > high)
            break;
        if (e >= low)
            result.push_back(i);
    }
    return result;
}

std::string ElementMatchText(const ElementLibrary& library, bool calibrateEnable, double energy,
                             double fwhm, double sensitivity) {
    if (!library.IsLoaded() || !calibrateEnable)
        return "None";
    int i = library.Match(energy, fwhm, sensitivity);
    return i < 0 ? "No match" : library.Line(i).name;
}

LibraryLoadResult AutoLoadLibrary(ElementLibrary& library, const LibraryAutoLoadSettings& s,
                                  UserPrompt* prompt) {
    // The default file name "*.lib" is a dialog pattern, not a library.
    if (!s.autoload || s.file.empty() || s.file.find('*') != std::string::npos)
        return LibraryLoadResult::NotAttempted;
    const std::string path = ResolveFolder(s.directory, s.userDataFolder) + s.file;
    if (!FileExists(path)) {
        if (prompt)
            prompt->message(Format("Invalid Library path or file - %s.", path.c_str()));
        return LibraryLoadResult::Failed;
    }
    library.SetDisplayName(s.file);
    if (!library.Load(path)) {
        if (prompt)
            prompt->message(Format("Library internal load error - %s.", path.c_str()));
        return LibraryLoadResult::Failed;
    }
    return LibraryLoadResult::Loaded;
}

const char* LibraryLoadStatusText(LibraryLoadResult result) {
    return result == LibraryLoadResult::Loaded ? "Library Load Successful..."
                                               : "Library Load Failed...";
}

std::string ReloadLibraryAfterPreferences(ElementLibrary& library, bool load, bool clear,
                                          const LibraryAutoLoadSettings& s, UserPrompt* prompt) {
    if (load)
        return LibraryLoadStatusText(AutoLoadLibrary(library, s, prompt));
    if (clear && library.IsLoaded())
        library.Clear();
    return {};
}

bool LoadLibraryFile(ElementLibrary& library, const std::string& path, UserPrompt* prompt) {
    library.SetDisplayName(fileNameOf(path));
    std::string error;
    if (library.Load(path, &error))
        return true;
    if (error.empty())
        error = "System error.";
    if (prompt)
        prompt->message(Format("Can not read the file %s. %s", path.c_str(), error.c_str()));
    return false;
}

std::string LibraryWindowTitle(const ElementLibrary& library) {
    return "Library - " + library.DisplayName();
}

std::vector<LibraryWindowRow> LibraryWindowRows(const ElementLibrary& library, double cursorEnergy,
                                                double sensitivity) {
    std::vector<LibraryWindowRow> rows;
    for (int i : library.LinesAround(cursorEnergy, sensitivity))
        rows.push_back({FormatNumber(library.Line(i).energy), library.Line(i).name});
    return rows;
}

std::vector<LibraryWindowRow> LibraryRowsAtCursor(const ElementLibrary& library,
                                                  const CSpectrum* active, int cursorAbsolute,
                                                  bool calibrateEnable, double sensitivity) {
    if (!active)
        return {};
    double energy = 0.0;
    {
        auto s = active->Lock();
        energy = s->ChannelToEnergy(s->FromAbsoluteChannel(cursorAbsolute), calibrateEnable);
    }
    return LibraryWindowRows(library, energy, sensitivity);
}

} // namespace vorna
