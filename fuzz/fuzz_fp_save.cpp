// Companion save requests: one to three fields, the defaults filled in, and the path helpers
// take whatever name comes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "external/FpText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto request = vorna::ParseSaveRequest(text);
    if (!request)
        return 0;
    if (request->tag.empty())
        std::abort();
    const std::string path = vorna::SpectrumPathForName(request->name, "/spectra/");
    if (path.size() < request->name.size())
        std::abort();
    const std::string folder = vorna::FolderOfPath(path);
    if (folder.size() > path.size() || path.compare(0, folder.size(), folder) != 0)
        std::abort();
    if (vorna::DotsFileName(path, "/spectra/").size() != path.size() + 2)
        std::abort();
    return 0;
}
