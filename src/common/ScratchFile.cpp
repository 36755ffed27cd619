#include "common/ScratchFile.h"

#include <cerrno>
#include <vector>

#include "common/NumberText.h"

namespace vorna {

ScratchFile::ScratchFile(const std::string& path) {
    for (int n = 0; n < 100 && !m_file; ++n) {
        std::string candidate = n == 0 ? path : Format("%s.%d", path.c_str(), n);
        errno = 0;
        m_file = std::fopen(candidate.c_str(), "wbx");
        if (m_file)
            m_path = candidate;
        else if (errno != EEXIST)
            break;
    }
}

ScratchFile::~ScratchFile() {
    Close();
    if (!m_path.empty())
        std::remove(m_path.c_str());
}

bool ScratchFile::Fill(std::size_t size) {
    if (!m_file)
        return false;
    // Not zeros: a compressing file system may store a run of zeros as a hole, which is as
    // sparse as a file that was only extended.
    std::vector<char> bytes(size, 'V');
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size() &&
              std::fflush(m_file) == 0;
    return Close() && ok;
}

bool ScratchFile::Close() {
    if (!m_file)
        return true;
    bool ok = std::fclose(m_file) == 0;
    m_file = nullptr;
    return ok;
}

bool WriteTestAt(const std::string& path, std::size_t size) {
    ScratchFile scratch(path);
    return scratch.IsOpen() && scratch.Fill(size);
}

} // namespace vorna
