#include "spectrum/SpectrumFile.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <strings.h>

#include "common/AtomicFile.h"
#include "common/DataFolders.h"
#include "common/NumberText.h"
#include "common/UserPrompt.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/CSpectrum.h"
#include "spectrum/SpectrumReader.h"
#include "spectrum/SpectrumWriter.h"

namespace vorna {
namespace {

#ifdef _WIN32
constexpr const char* kSeparators = "/\\";
#else
constexpr const char* kSeparators = "/";
#endif
constexpr const char* kSystemError = "System error.";

struct PathParts {
    std::string directory; // with its trailing separator, or empty
    std::string name;      // without extension
    std::string extension; // with its dot, or empty
};

PathParts splitPath(const std::string& path) {
    PathParts parts;
    size_t sep = path.find_last_of(kSeparators);
    size_t nameStart = sep == std::string::npos ? 0 : sep + 1;
    parts.directory = path.substr(0, nameStart);
    std::string file = path.substr(nameStart);
    size_t dot = file.find_last_of('.');
    if (dot == std::string::npos) {
        parts.name = file;
    } else {
        parts.name = file.substr(0, dot);
        parts.extension = file.substr(dot);
    }
    return parts;
}

bool sameNoCase(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

bool isSeparator(char c) {
    return std::string_view(kSeparators).find(c) != std::string_view::npos;
}

std::string withTrailingSeparator(std::string dir) {
    if (!dir.empty() && !isSeparator(dir.back()))
        dir += '/';
    return dir;
}

// A name that holds a separator after its first character is a path, not a bare name.
bool holdsPath(const std::string& name) {
    return name.size() > 1 && name.find_first_of(kSeparators, 1) != std::string::npos;
}

bool isCurrentDirectoryMark(const std::string& dir) {
    return dir == "./" || dir == ".\\";
}

std::string fullPath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec);
    if (ec)
        return path;
    return p.lexically_normal().string();
}

void show(const SpectrumEnvironment& env, const std::string& text) {
    if (env.prompt)
        env.prompt->message(text, PromptStyle::Error);
}

// Steps shared by open and read: the extension check, the bytes, the reader.
FileOpenResult readInto(const SpectrumEnvironment& env, const std::string& path,
                        CSpectrum& spectrum, const char* extensionWarning) {
    FileOpenResult result = FileOpenResult::Done;
    const PathParts parts = splitPath(path);
    if (!sameNoCase(parts.extension, ".mca") && !sameNoCase(parts.extension, ".mcs")) {
        if (env.prompt)
            env.prompt->message(extensionWarning, PromptStyle::Warning);
        result = FileOpenResult::Warned;
    }
    std::string bytes;
    FileResult file = ReadWholeFile(path, bytes);
    std::string reason;
    if (!file.ok) {
        reason = file.error.empty() ? kSystemError : file.error;
    } else {
        SpectrumReadOptions options;
        options.calibEquationType = env.settings.calibEquationType;
        options.prompt = env.prompt;
        if (!ReadSpectrum(bytes, spectrum, options))
            reason = kLoadFileFailure;
    }
    if (!reason.empty()) {
        spectrum.FreeData();
        show(env, Format("Can not open the file %s. %s", path.c_str(), reason.c_str()));
        return FileOpenResult::Failed;
    }
    SetFileNameFromPath(spectrum, path, env.spectraDirectory);
    return result;
}

SaveResult writeTo(const SpectrumEnvironment& env, CSpectrum& spectrum, const std::string& path,
                   int listPosition) {
    SpectrumWriteOptions options;
    options.dppDeviceType = env.dppDeviceType;
    options.liveBlocks = listPosition == 0;
    options.dpp = env.dpp;
    std::string bytes;
    {
        auto locked = spectrum.Lock();
        WriteSpectrum(spectrum, options, bytes);
    }
    // The old file stays whole until the new bytes are safely on disk.
    FileResult file = WriteFileAtomically(path, bytes);
    if (!file.ok) {
        show(env, file.error.empty() ? kSystemError : file.error);
        return SaveResult::Failed;
    }
    SetFileNameFromPath(spectrum, path, env.spectraDirectory);
    return SaveResult::Saved;
}

// The per-user data folder stands for "no folder" and is made when something first needs it.
void makeDataFolderWhenNeeded(const std::string& directory) {
    if (!directory.empty() && directory == UserDataFolder())
        EnsureFolder(directory);
}

// The folder a spectrum is saved into: its own, else the spectra directory.
std::string saveDirectory(const SpectrumEnvironment& env, const PathParts& parts) {
    if (!parts.directory.empty())
        return parts.directory;
    makeDataFolderWhenNeeded(env.spectraDirectory);
    return env.spectraDirectory;
}

bool tagHeldByAnother(const CSpectraList& list, const CSpectrum& self, const std::string& tag) {
    auto guard = list.Lock();
    for (int i = 0; i < list.GetCount(); ++i) {
        const CSpectrum* s = list[i];
        if (s != &self && s->m_strTag.size() == tag.size() &&
            strcasecmp(s->m_strTag.c_str(), tag.c_str()) == 0)
            return true;
    }
    return false;
}

} // namespace

void SetFileNameFromPath(CSpectrum& spectrum, const std::string& path,
                         const std::string& spectraDirectory) {
    const std::string full = fullPath(path);
    const PathParts parts = splitPath(full);
    const std::string spectra = spectraDirectory.empty()
                                    ? std::string()
                                    : withTrailingSeparator(fullPath(spectraDirectory));
    if (!spectra.empty() && parts.directory == spectra)
        spectrum.m_strFileName = parts.name + parts.extension;
    else
        spectrum.m_strFileName = full;
}

FileOpenResult OpenSpectrumFile(CSpectraList& list, const std::string& path, RecentFileList* recent,
                                CSpectrum** opened) {
    if (opened)
        *opened = nullptr;
    SpectrumEnvironment& env = list.Environment();
    auto spectrum = std::make_unique<CSpectrum>(env.slots, list.GetCount());
    FileOpenResult result =
        readInto(env, path, *spectrum, "Invalid file extension; must be .mca, .mcs!");
    if (result == FileOpenResult::Failed)
        return FileOpenResult::Failed; // the new spectrum goes with `spectrum`
    CSpectrum* added = list.Add(spectrum, true);
    if (!added)
        return FileOpenResult::Failed; // the list has said why
    if (recent)
        recent->AddRecentFile(path);
    if (opened)
        *opened = added;
    return result;
}

FileOpenResult ReadFileIntoSpectrum(const SpectrumEnvironment& env, const std::string& path,
                                    CSpectrum& spectrum) {
    return readInto(env, path, spectrum, "Invalid file extension; must be .mca, .mcs");
}

SaveResult SaveSpectrum(const SpectrumEnvironment& env, CSpectrum& spectrum, bool showDialog,
                        int listPosition) {
    PathParts parts = splitPath(spectrum.m_strFileName);
    std::string directory = saveDirectory(env, parts);
    if (isCurrentDirectoryMark(directory) || (!directory.empty() && !DirectoryExists(directory)))
        directory.clear();
    directory = withTrailingSeparator(directory);
    // Without a name there is nothing to save to but what the user picks.
    if (parts.name.empty()) {
        parts.name = "*";
        showDialog = true;
    }
    std::string path = directory + parts.name + parts.extension;
    if (showDialog) {
        const bool mca = sameNoCase(parts.extension, ".mca");
        const char* extension = mca ? "mca" : "mcs";
        const char* filter = mca ? "Spectra Data Files (*.mca)|*.mca|All Files (*.*)|*.*||"
                                 : "Spectra Data Files (*.mcs)|*.mcs|All Files (*.*)|*.*||";
        if (!env.prompt || !env.prompt->chooseSaveFile(path, extension, filter))
            return SaveResult::Cancelled;
    }
    return writeTo(env, spectrum, path, listPosition);
}

SaveResult SaveSpectrumToPath(const SpectrumEnvironment& env, CSpectrum& spectrum,
                              const std::string& path, int listPosition) {
    std::string directory = saveDirectory(env, splitPath(spectrum.m_strFileName));
    if (!DirectoryExists(directory.empty() ? std::string(".") : directory))
        return SaveResult::Failed;
    return writeTo(env, spectrum, path, listPosition);
}

int RecallTemplate(CSpectraList& list, const TemplateOptions& options) {
    SpectrumEnvironment& env = list.Environment();
    if (!(options.loadCalibration || options.loadRoi) || env.spectraDirectory.empty() ||
        options.templateFile.empty() || options.templateFile.find('*') != std::string::npos)
        return 0;
    const std::string path = withTrailingSeparator(env.spectraDirectory) + options.templateFile;
    if (!FileExists(path)) {
        show(env, Format("Invalid Spectrum Template path or file - %s.", path.c_str()));
        return 0;
    }
    CSpectrum templ(env.slots, list.GetCount());
    if (ReadFileIntoSpectrum(env, path, templ) != FileOpenResult::Done) {
        show(env, Format("Spectrum template internal load error - %s.", path.c_str()));
        return 0;
    }
    // The template sets up the live spectrum; an open file keeps its own ROIs and calibration.
    CSpectrum* live = list.At(0);
    if (!live)
        return 0;
    live->TakeTables(templ, options.loadCalibration, options.loadRoi, env,
                     list.GetActivePosition());
    live->RequestDisplayUpdate(env);
    return 1;
}

bool RevertSpectrum(CSpectraList& list, CSpectrum& spectrum, const std::string& workingDirectory) {
    SpectrumEnvironment& env = list.Environment();
    std::string path = spectrum.m_strFileName;
    if (!holdsPath(path)) {
        std::string dir = env.spectraDirectory.empty() ? workingDirectory : env.spectraDirectory;
        path = withTrailingSeparator(dir) + path;
    }
    auto unable = [&] {
        if (env.prompt)
            env.prompt->status(0, "Unable to Revert - unable to locate original spectrum file.");
        return false;
    };
    if (!FileExists(path))
        return unable();
    CSpectrum original(env.slots, list.GetCount());
    if (ReadFileIntoSpectrum(env, path, original) == FileOpenResult::Failed)
        return false;
    // Tags name spectra in expressions and must stay unique in the list.
    const bool tagTaken = tagHeldByAnother(list, spectrum, original.m_strTag);
    const int activePosition = list.GetActivePosition();
    // A file holds no expression, so a reverted derived spectrum becomes a plain one: it is
    // unlinked from its operands, or they would count it as their dependent (closing one would
    // then close the other in turn, without end) and re-evaluate it over the file's contents.
    const bool wasDerived = spectrum.m_bDerived != 0;
    if (wasDerived) {
        auto listGuard = list.Lock();
        for (int i = 0; i < spectrum.m_linked.GetCount(); ++i)
            if (CSpectrum* operand = spectrum.m_linked[i]; operand != &spectrum)
                operand->m_linked.Remove(&spectrum);
        spectrum.m_linked.RemoveAll();
    }
    spectrum.RevertTo(original, tagTaken, env, activePosition);
    spectrum.RequestDisplayUpdate(env);
    // Derived spectra that read this one must follow its new contents.
    {
        auto listGuard = list.Lock();
        for (int i = 0; i < spectrum.m_linked.GetCount(); ++i)
            spectrum.m_linked[i]->RequestEvaluation(env);
    }
    if (env.display) {
        if (list.GetActive() == &spectrum)
            env.display->SpectrumActivated(spectrum);
        env.display->RefreshSpectraListWindow();
    }
    return true;
}

OpenDialogSetup MakeOpenDialogSetup(const std::string& spectraDirectory) {
    OpenDialogSetup setup;
    makeDataFolderWhenNeeded(spectraDirectory);
    if (!spectraDirectory.empty() && !isCurrentDirectoryMark(spectraDirectory) &&
        DirectoryExists(spectraDirectory))
        setup.initialDirectory = withTrailingSeparator(spectraDirectory);
    setup.initialName = setup.initialDirectory + "*.mca";
    return setup;
}

FileOpenResult
OpenWithDialog(CSpectraList& list,
               const std::function<bool(const OpenDialogSetup&, std::string&)>& choose,
               RecentFileList* recent) {
    const OpenDialogSetup setup = MakeOpenDialogSetup(list.Environment().spectraDirectory);
    FileOpenResult result = FileOpenResult::Failed;
    for (;;) {
        std::string path = setup.initialName;
        if (!choose(setup, path))
            return result;
        result = OpenSpectrumFile(list, path, recent);
        if (result != FileOpenResult::Warned)
            return result;
    }
}

} // namespace vorna
