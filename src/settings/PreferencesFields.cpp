// The folder and file fields of the preferences: browsing and leaving a field. These touch the
// file system and the profile at once, unlike the rest of the sheet, which waits for OK.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "common/DataFolders.h"
#include "common/UserPrompt.h"
#include "settings/CSProfile.h"
#include "settings/PreferencesModel.h"

namespace vorna {

namespace {

constexpr const char* kLibraryPattern = "*.lib";
constexpr const char* kTemplatePattern = "*.mca";

struct PathParts {
    std::string folder; // with its trailing separator; empty for a bare name
    std::string name;
};

PathParts splitPath(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos)
        return {{}, path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// Folder names compare without case and trailing blanks or separators, as the user sees them.
std::string comparable(std::string folder) {
    while (!folder.empty() && (std::isspace(static_cast<unsigned char>(folder.back())) ||
                               folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    std::transform(folder.begin(), folder.end(), folder.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return folder;
}

bool isPattern(const std::string& file) {
    return file.find('*') != std::string::npos;
}

bool fileIn(const std::string& folderSetting, const std::string& file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(ResolveFolderFile(folderSetting, file), ec);
}

void refuseFolder(UserPrompt& prompt, const char* kind) {
    prompt.message(std::string("Invalid pathname - ") + kind + " files.", PromptStyle::Error);
}

} // namespace

void PreferencesModel::SpectraFolderChosen(CSProfile& profile, const std::string& folder) {
    general.spectraDirectory = WithTrailingSeparator(folder);
    profile.spectraDirectory = general.spectraDirectory;
    const std::string& t = general.templateFile;
    if (!t.empty() && !isPattern(t) && !fileIn(general.spectraDirectory, t)) {
        general.templateFile = profile.spectrumTemplateFile = kTemplatePattern;
        general.loadCalibration = general.loadRoi = false;
        m_templateSwitchesEnabled = false;
    }
    MarkModified(PreferencesPage::General);
}

bool PreferencesModel::SpectraFolderEdited(CSProfile& profile, UserPrompt& prompt,
                                           const std::string& text) {
    if (!FolderFieldHasRoom(text)) {
        refuseFolder(prompt, "spectra");
        return false;
    }
    general.spectraDirectory = profile.spectraDirectory = text;
    MarkModified(PreferencesPage::General);
    return true;
}

void PreferencesModel::TemplateChosen(CSProfile& profile, const std::string& path) {
    const PathParts parts = splitPath(path);
    general.templateFile = profile.spectrumTemplateFile = parts.name;
    if (!parts.folder.empty() &&
        comparable(parts.folder) != comparable(ResolveFolder(general.spectraDirectory)))
        general.spectraDirectory = profile.spectraDirectory = parts.folder;
    m_templateSwitchesEnabled = true;
    MarkModified(PreferencesPage::General);
}

bool PreferencesModel::TemplateEdited(UserPrompt& prompt, const std::string& text) {
    general.templateFile = text;
    MarkModified(PreferencesPage::General);
    if (isPattern(text) ||
        CSProfile::CheckFile(prompt, ResolveFolderFile(general.spectraDirectory, text)))
        return true;
    general.templateFile = kTemplatePattern;
    return false;
}

void PreferencesModel::LibraryFolderChosen(CSProfile& profile, const std::string& folder) {
    analysis.libraryDirectory = WithTrailingSeparator(folder);
    profile.libraryDirectory = analysis.libraryDirectory;
    const std::string& f = analysis.libraryFile;
    if (!f.empty() && !isPattern(f) && !fileIn(analysis.libraryDirectory, f))
        analysis.libraryFile = profile.libraryFile = kLibraryPattern;
    MarkModified(PreferencesPage::Analysis);
}

bool PreferencesModel::LibraryFolderEdited(CSProfile& profile, UserPrompt& prompt,
                                           const std::string& text) {
    if (!FolderFieldHasRoom(text)) {
        refuseFolder(prompt, "library");
        return false;
    }
    analysis.libraryDirectory = profile.libraryDirectory = text;
    MarkModified(PreferencesPage::Analysis);
    return true;
}

void PreferencesModel::LibraryFileChosen(CSProfile& profile, const std::string& path) {
    const PathParts parts = splitPath(path);
    analysis.libraryFile = profile.libraryFile = parts.name;
    if (!parts.folder.empty() &&
        comparable(parts.folder) != comparable(ResolveFolder(analysis.libraryDirectory)))
        analysis.libraryDirectory = profile.libraryDirectory = parts.folder;
    MarkModified(PreferencesPage::Analysis);
}

bool PreferencesModel::LibraryFileEdited(UserPrompt& prompt, const std::string& text) {
    analysis.libraryFile = text;
    MarkModified(PreferencesPage::Analysis);
    if (isPattern(text) ||
        CSProfile::CheckFile(prompt, ResolveFolderFile(analysis.libraryDirectory, text)))
        return true;
    analysis.libraryFile = kLibraryPattern;
    return false;
}

void PreferencesModel::RepeatFolderChosen(const std::string& folder) {
    analysis.repeatDirectory = WithTrailingSeparator(folder);
    MarkModified(PreferencesPage::Analysis);
}

void PreferencesModel::ColourPresetPressed(CSProfile& profile, ColourPreset preset) {
    ApplyColourPreset(profile, preset);
    plot.backgroundColor = profile.plotBackgroundColor;
}

} // namespace vorna
