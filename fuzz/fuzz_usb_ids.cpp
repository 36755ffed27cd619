// USB ID lists as the user types them and string descriptors as devices send them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/usb/LibUsbDriver.h"

using namespace vorna;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto ids = ParseUsbIds(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)ids;
    const std::string text = StringDescriptorText(data, size, 64);
    // Never more characters than the descriptor's own length allows.
    if (text.size() > 64 || (size >= 1 && text.size() > data[0] / 2u))
        __builtin_trap();
    return 0;
}
