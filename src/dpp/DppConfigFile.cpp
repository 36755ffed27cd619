#include "dpp/DppConfigFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/AtomicFile.h"
#include "common/CaptionedPrompt.h"
#include "common/NumberText.h"
#include "common/UserPrompt.h"
#include "dpp/DppMessages.h"

namespace vorna {
namespace {

DppFileOutcome fileError(DppFileFailure failure, const std::string& path, bool writing) {
    return {false, FileErrorMessage(failure, path, writing)};
}

// Holds an open descriptor with an advisory exclusive lock; other VORNA instances loading or
// saving the same file see it as "opened by someone else", as they would on Windows.
class LockedFile {
public:
    ~LockedFile() {
        if (m_fd >= 0)
            ::close(m_fd); // also drops the lock
    }
    // errno of the failure, 0 when opened and locked.
    int Open(const std::string& path, int flags) {
        // Non-blocking open: a named pipe in place of a file must not hang the program.
        m_fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
        if (m_fd < 0)
            return errno;
        if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
            return errno == EINTR ? EWOULDBLOCK : errno;
        return 0;
    }
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

// Reads at most `limit` + 1 bytes so an oversized file is noticed without reading it whole.
int readUpTo(int fd, size_t limit, std::string& bytes) {
    char buffer[8192];
    while (bytes.size() <= limit) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return 0;
}

} // namespace

void ShowOutcome(UserPrompt& prompt, const DppFileOutcome& outcome) {
    if (!outcome.ok && !outcome.message.empty())
        ShowCaptioned(prompt, kConfigFileErrorCaption, outcome.message, PromptStyle::Warning);
}

bool DppConfigFile::ReadLines(std::string_view text) {
    size_t pos = 0;
    // One line per call; false at the end of the text. A last line without its line end counts.
    auto nextLine = [&](std::string& out) {
        if (pos >= text.size())
            return false;
        size_t nl = text.find('\n', pos);
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        out.assign(line);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        return true;
    };
    constexpr int kFirst = DppConfigStrings::kFirstSlot;
    constexpr int kLastOld = kFirst + kOldLineCount - 1; // slot 44
    for (int slot = kFirst; slot <= kLastOld; ++slot)
        if (!nextLine(strings.Slot(slot)))
            return false;
    std::string mode, timebase;
    if (nextLine(mode) && nextLine(timebase)) {
        strings.Slot(kLastOld + 1) = mode;
        strings.Slot(kLastOld + 2) = timebase;
    } else {
        // Files from before acquisition mode and MCS timebase existed: plain MCA.
        strings.Slot(kLastOld + 1) = "0";
        strings.Slot(kLastOld + 2) = "0";
    }
    return true;
}

DppFileOutcome DppConfigFile::Load(const std::string& filePath, int /*deviceType*/) {
    path = filePath;
    LockedFile file;
    if (int err = file.Open(filePath, O_RDONLY))
        return fileError(FileFailureFromErrno(err), filePath, false);
    struct stat st {};
    if (::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode))
        return fileError(DppFileFailure::Other, filePath, false);
    std::string bytes;
    if (int err = readUpTo(file.fd(), kMaxFileBytes, bytes))
        return fileError(FileFailureFromErrno(err), filePath, false);
    if (bytes.size() > kMaxFileBytes)
        return fileError(DppFileFailure::BadFormat, filePath, false);
    if (!ReadLines(bytes))
        return {false, ConfigurationErrorMessage("End of file error encountered in...", filePath,
                                                 "configuration file.")};
    return {};
}

std::string DppConfigFile::Text() const {
    std::string text;
    for (int slot = DppConfigStrings::kFirstSlot; slot <= DppConfigStrings::kLastSlot; ++slot)
        text += strings.Slot(slot) + "\r\n";
    return text;
}

DppFileOutcome DppConfigFile::Save(int /*deviceType*/) {
    // An existing file must be writable and not in use; it is locked while its replacement is
    // written so that no other instance reads it half way.
    LockedFile existing;
    int err = existing.Open(path, O_WRONLY);
    if (err == 0) {
        struct stat st {};
        // No write bit at all is the read-only property, which holds even for the superuser.
        if (::fstat(existing.fd(), &st) == 0 && (st.st_mode & 0222) == 0)
            return fileError(DppFileFailure::AccessDenied, path, true);
    } else if (err != ENOENT) {
        return fileError(FileFailureFromErrno(err), path, true);
    }
    FileResult written = WriteFileAtomically(path, Text());
    if (!written.ok)
        return fileError(FileFailureFromErrno(written.code), path, true);
    return {};
}

std::string DppConfigFile::NextProposedName() {
    ++saveCounter;
    return Format("%s%d", kDefaultStem, saveCounter);
}

DppFileOutcome DppConfigFile::SaveWithDialog(int deviceType, UserPrompt& prompt) {
    if (dialogFolder == UserDataFolder())
        EnsureFolder(dialogFolder); // a folder the user named is never made here
    std::string chosen = WithTrailingSeparator(dialogFolder) + NextProposedName();
    if (!prompt.chooseSaveFile(chosen, kDefaultExtension, kFilter))
        return {false, {}};
    path = chosen;
    return Save(deviceType);
}

} // namespace vorna
