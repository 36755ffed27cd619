#include "common/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/NumberText.h"

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

// Closes the descriptor it holds when it goes, on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }

    bool valid() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    // Closes now, for its result; nothing is left for the destructor.
    int close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd);
    }

private:
    int m_fd;
};

// A new file beside the target, created with the ordinary create mode so that the kernel
// applies the umask (reading the umask would mean changing it, a process-wide race).
Descriptor createTemporary(const std::string& folder, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = Format("%s/.vorna-save-%ld-%u-%08x", folder.c_str(), static_cast<long>(::getpid()),
                      counter.fetch_add(1, std::memory_order_relaxed),
                      static_cast<unsigned>(now) ^ static_cast<unsigned>(attempt * 2654435761u));
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return Descriptor(fd);
    }
    errno = EEXIST;
    return Descriptor(-1);
}

FileResult writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failure(errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return {};
}

} // namespace

FileResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temporary;
    Descriptor fd = createTemporary(folderOf(path), temporary);
    if (!fd.valid())
        return failure(errno);
    FileResult result = writeAll(fd.get(), bytes);
    // A file that is replaced keeps its permissions; a new one got the ordinary create mode
    // (0666 less the umask) from the open itself.
    // (A folder that cannot hold permissions refuses the change; the save still goes ahead.)
    struct stat st {};
    if (result.ok && ::stat(path.c_str(), &st) == 0)
        ::fchmod(fd.get(), st.st_mode & 07777);
    if (result.ok && ::fsync(fd.get()) != 0)
        result = failure(errno);
    if (result.ok && fd.close() != 0)
        result = failure(errno);
    if (result.ok && ::rename(temporary.c_str(), path.c_str()) != 0)
        result = failure(errno);
    if (!result.ok)
        ::unlink(temporary.c_str());
    return result;
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
