#pragma once
// The bytes of an uncompressed Windows bitmap file: the 14-byte file header, the 40-byte
// information header, the colour table of palette depths, and the pixel rows bottom-up.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorna {

struct BmpImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32; // 1, 4, 8, 16, 24 or 32
    // Colour table entries (B, G, R, 0 each); 2^bits of them for 1, 4 and 8 bits per pixel.
    std::vector<uint32_t> colours;
    // The pixel rows bottom-up, each padded to a multiple of four bytes.
    std::string pixels;
};

// Bytes of one padded row of the image.
int BmpRowBytes(int width, int bitsPerPixel);

// The file bytes; nothing when the image is inconsistent (sizes, depth, colour table or pixel
// bytes that do not match).
std::optional<std::string> BuildBmpFile(const BmpImage& image);

// Reads the headers back: width, height, bits, offset of the pixel data. For the preview and
// tests; nothing when the bytes are not a bitmap file this program writes.
struct BmpHeaderInfo {
    uint32_t fileSize = 0;
    uint32_t pixelOffset = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    uint32_t imageSize = 0;
};
std::optional<BmpHeaderInfo> ReadBmpHeader(const std::string& bytes);

} // namespace vorna
