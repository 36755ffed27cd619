// Configuration file text: line reading, then every conversion a loaded file goes through.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dpp/DppConfigFile.h"
#include "dpp/DppConfigImage.h"
#include "dpp/DppConfigStrings.h"
#include "dpp/DppConfigText.h"

using namespace vorna;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DppConfigFile file;
    if (!file.ReadLines(std::string_view(reinterpret_cast<const char*>(data), size)))
        return 0;
    for (int type = 0; type <= 4; ++type) {
        DppConfigRecord record;
        StringsToRecord(file.strings, record, type);
        for (bool fast : {false, true}) {
            (void)ConfigurationText(record, DppTextContext{type, !fast, fast});
            DppConfigRecord copy = record;
            (void)RecordToStrings(copy, type, fast);
        }
        DppConfigImage image = BuildImage(record, type, true);
        DppConfigRecord back;
        DecodeImage(image, type, back);
    }
    return 0;
}
