// Writes a picture as a 24-bit bottom-up bitmap file, header fields by hand.
#include "framework/BmpWriter.h"

#include <cstdint>

#include "framework/Error.h"

namespace fw {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dots per inch

// Little-endian, whatever the machine.
void Put16(char*& out, std::uint32_t value) {
    *out++ = static_cast<char>(value & 0xFF);
    *out++ = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(char*& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::string EncodeBmp(const Picture& picture) {
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(picture.width) * 3 + 3) & ~std::uint64_t{3};
    const std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(picture.height);
    const std::uint64_t fileBytes = kFileHeaderSize + kInfoHeaderSize + imageBytes;
    if (fileBytes > 0xFFFFFFFFu) throw Error(u"The picture is too large for a bitmap file");

    std::string bytes(static_cast<size_t>(fileBytes), '\0');  // the row padding stays zero
    char* out = bytes.data();
    // BITMAPFILEHEADER
    *out++ = 'B';
    *out++ = 'M';
    Put32(out, static_cast<std::uint32_t>(fileBytes));
    Put32(out, 0);  // two reserved words
    Put32(out, kFileHeaderSize + kInfoHeaderSize);
    // BITMAPINFOHEADER; a positive height means the rows run bottom-up.
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(picture.width));
    Put32(out, static_cast<std::uint32_t>(picture.height));
    Put16(out, 1);   // planes
    Put16(out, 24);  // bits per pixel
    Put32(out, 0);   // BI_RGB
    Put32(out, static_cast<std::uint32_t>(imageBytes));
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);  // colours used
    Put32(out, 0);  // important colours

    for (int y = picture.height - 1; y >= 0; --y) {
        const std::uint32_t* row = picture.Row(y);
        char* pixel = out;
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t argb = row[x];
            pixel[0] = static_cast<char>(argb & 0xFF);
            pixel[1] = static_cast<char>((argb >> 8) & 0xFF);
            pixel[2] = static_cast<char>((argb >> 16) & 0xFF);
            pixel += 3;
        }
        out += rowBytes;
    }
    return bytes;
}

}  // namespace fw
