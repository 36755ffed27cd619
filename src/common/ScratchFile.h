#pragma once
// A scratch file for write tests of folders: created new, filled with real bytes, removed again.

#include <cstddef>
#include <cstdio>
#include <string>

namespace vorna {

// A scratch file created new at `path`. A file already there (the user's, or one left behind
// by a crash) is never opened, let alone removed: a numbered sibling ("path.1" …) is used
// instead. The file is removed when the object goes.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& path);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    // Writes `size` bytes, flushes and closes; false when the medium cannot hold them.
    // The bytes are written, not just reserved: a sparse file never finds a full disk.
    bool Fill(std::size_t size);
    bool Close();

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
};

// Can `size` bytes be written at `path`? A scratch file is made there, filled and removed.
bool WriteTestAt(const std::string& path, std::size_t size);

} // namespace vorna
