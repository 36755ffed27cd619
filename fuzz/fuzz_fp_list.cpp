// Companion list texts (counts, versions): any bytes split into fields without blanks, and the
// numbers read from them stay within what the fields hold.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "external/FpText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto fields = vorna::SplitListFields(text);
    size_t bytes = 0;
    for (const std::string& f : fields) {
        if (f.find_first_of(" \t,;") != std::string::npos)
            std::abort();
        bytes += f.size();
        (void)vorna::FieldInteger(f);
        (void)vorna::FieldNumber(f);
    }
    if (bytes > size || fields.size() > size + 1)
        std::abort();
    std::vector<double> values;
    for (const std::string& f : fields)
        values.push_back(static_cast<double>(vorna::FieldInteger(f)));
    (void)vorna::JoinCounts(values, 4096);
    (void)vorna::CleanCompanionText(text, 12);
    return 0;
}
