#include "output/core/BmpFile.h"

namespace vorna {

namespace {

void Put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>((v >> 8) & 0xff));
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

uint32_t Get16(const std::string& in, size_t at) {
    return static_cast<uint8_t>(in[at]) | static_cast<uint32_t>(static_cast<uint8_t>(in[at + 1]))
                                              << 8;
}

uint32_t Get32(const std::string& in, size_t at) {
    return Get16(in, at) | Get16(in, at + 2) << 16;
}

bool PaletteDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8;
}

} // namespace

int BmpRowBytes(int width, int bitsPerPixel) {
    return ((bitsPerPixel * width + 31) / 32) * 4;
}

std::optional<std::string> BuildBmpFile(const BmpImage& image) {
    const int bits = image.bitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    if (image.width <= 0 || image.height <= 0 || image.width > 65535 || image.height > 65535)
        return std::nullopt;
    const size_t tableEntries = PaletteDepth(bits) ? size_t{1} << bits : 0;
    if (image.colours.size() != tableEntries)
        return std::nullopt;
    const uint64_t imageSize =
        static_cast<uint64_t>(BmpRowBytes(image.width, bits)) * static_cast<uint64_t>(image.height);
    if (image.pixels.size() != imageSize)
        return std::nullopt;
    const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(tableEntries);
    const uint64_t fileSize = offset + imageSize;
    if (fileSize > 0xffffffffu)
        return std::nullopt;

    std::string out;
    out.reserve(static_cast<size_t>(fileSize));
    out += "BM";
    Put32(out, static_cast<uint32_t>(fileSize));
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height)); // positive: rows bottom-up
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0); // no compression
    Put32(out, static_cast<uint32_t>(imageSize));
    Put32(out, 3780); // 96 dots per inch, in dots per metre
    Put32(out, 3780);
    Put32(out, static_cast<uint32_t>(tableEntries)); // colours used
    Put32(out, 0);                                   // all of them important
    for (uint32_t c : image.colours)
        Put32(out, c);
    out += image.pixels;
    return out;
}

std::optional<BmpHeaderInfo> ReadBmpHeader(const std::string& bytes) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || Get32(bytes, 14) != 40)
        return std::nullopt;
    BmpHeaderInfo info;
    info.fileSize = Get32(bytes, 2);
    info.pixelOffset = Get32(bytes, 10);
    info.width = static_cast<int>(Get32(bytes, 18));
    info.height = static_cast<int>(Get32(bytes, 22));
    info.bitsPerPixel = static_cast<int>(Get16(bytes, 28));
    info.imageSize = Get32(bytes, 34);
    return info;
}

} // namespace vorna
