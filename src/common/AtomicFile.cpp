#include "common/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vorna {
namespace {

FileResult failure(int err) {
    return FileResult{false, err ? std::strerror(err) : std::string(), err};
}

std::string folderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace

FileResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string tmpl = folderOf(path) + "/.vorna-save-XXXXXX";
    int fd = mkstemp(tmpl.data());
    if (fd < 0)
        return failure(errno);
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            ::unlink(tmpl.c_str());
            return failure(err);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    // Keep the permissions an ordinary create would give (mkstemp uses 0600).
    mode_t mask = umask(0);
    umask(mask);
    struct stat st {};
    mode_t mode = (::stat(path.c_str(), &st) == 0) ? (st.st_mode & 07777) : (0666 & ~mask);
    ::fchmod(fd, mode);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int err = errno;
        ::unlink(tmpl.c_str());
        return failure(err);
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(tmpl.c_str());
        return failure(err);
    }
    return {};
}

FileResult ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    // Non-blocking open, then only regular files: a named pipe or device given as a file name
    // must not hang the program.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return failure(errno);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        ::close(fd);
        return failure(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    }
    if (st.st_size > 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            return failure(err);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return {};
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace vorna
