// The file writers: bitmap files parsed byte by byte, JPEG files decoded again with libjpeg and
// checked for baseline, colour and the quantisation tables of quality 90.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "framework/BmpWriter.h"
#include "framework/Error.h"
#include "framework/JpegWriter.h"
#include "tests/support/JpegDecode.h"

namespace {

using fw::Picture;

std::uint32_t Read32(const std::string& bytes, size_t at) {
    return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint8_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24;
}

std::uint32_t Read16(const std::string& bytes, size_t at) {
    return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8;
}

// Varied, unrelated colours in every channel; the alpha bytes vary too and must not matter.
Picture Pattern(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.At(x, y) = static_cast<std::uint32_t>((x * 7 + y) & 0xFF) << 24 | (x * 37 + y * 11) % 256 << 16 |
                               (x * 13 + y * 53) % 256 << 8 | (x * y + 5) % 256;
    return picture;
}

// Smooth content as on a screen's gradients and photos, where JPEG at quality 90 is close.
Picture Smooth(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.At(x, y) = 0xFF000000u | (40 + x * 150 / std::max(width, 64)) << 16 |
                               (200 - y * 120 / std::max(height, 64)) << 8 |
                               (90 + (x + y) * 60 / (width + height + 64));
    return picture;
}

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// Luminance and chrominance tables of the JPEG standard (natural order) at quality 90.
unsigned Quality90(unsigned base) {
    const unsigned q = (base * 20 + 50) / 100;  // scale 200 - 2 * 90 percent
    return q < 1 ? 1 : q > 255 ? 255 : q;
}

const unsigned kLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                 14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                 18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
const unsigned kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                   24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                   99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                   99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The markers of the file in order (0xD8, 0xE0, 0xDB, 0xC0, ...), with the frame header's details.
struct Markers {
    std::vector<int> order;
    int frameComponents = -1;
    int frameWidth = -1;
    int frameHeight = -1;
};

Markers ReadMarkers(const std::string& bytes) {
    Markers m;
    size_t at = 0;
    while (at + 4 <= bytes.size() && static_cast<std::uint8_t>(bytes[at]) == 0xFF) {
        const int marker = static_cast<std::uint8_t>(bytes[at + 1]);
        m.order.push_back(marker);
        if (marker == 0xD8) {
            at += 2;
            continue;
        }
        const size_t length = static_cast<std::uint8_t>(bytes[at + 2]) << 8 | static_cast<std::uint8_t>(bytes[at + 3]);
        if (marker >= 0xC0 && marker <= 0xC2) {
            m.frameHeight = static_cast<std::uint8_t>(bytes[at + 5]) << 8 | static_cast<std::uint8_t>(bytes[at + 6]);
            m.frameWidth = static_cast<std::uint8_t>(bytes[at + 7]) << 8 | static_cast<std::uint8_t>(bytes[at + 8]);
            m.frameComponents = static_cast<std::uint8_t>(bytes[at + 9]);
        }
        if (marker == 0xDA) break;  // entropy-coded data follows
        at += 2 + length;
    }
    return m;
}

}  // namespace

TEST(BmpWriter, HeadersAndPaddedBottomUpRows) {
    for (int width : {1, 2, 3, 4, 5, 7}) {
        const Picture picture = Pattern(width, 3);
        const std::string bmp = fw::EncodeBmp(picture);
        const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
        SCOPED_TRACE("width " + std::to_string(width));
        ASSERT_EQ(bmp.size(), 54 + rowBytes * 3);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(Read32(bmp, 2), bmp.size());
        EXPECT_EQ(Read32(bmp, 6), 0u);
        EXPECT_EQ(Read32(bmp, 10), 54u);  // pixels right after the two headers
        EXPECT_EQ(Read32(bmp, 14), 40u);  // BITMAPINFOHEADER
        EXPECT_EQ(Read32(bmp, 18), static_cast<std::uint32_t>(width));
        EXPECT_EQ(Read32(bmp, 22), 3u);  // positive: bottom-up
        EXPECT_EQ(Read16(bmp, 26), 1u);
        EXPECT_EQ(Read16(bmp, 28), 24u);
        EXPECT_EQ(Read32(bmp, 30), 0u);  // BI_RGB
        EXPECT_EQ(Read32(bmp, 34), rowBytes * 3);
        EXPECT_EQ(Read32(bmp, 38), 3780u);
        EXPECT_EQ(Read32(bmp, 42), 3780u);
        EXPECT_EQ(Read32(bmp, 46), 0u);
        EXPECT_EQ(Read32(bmp, 50), 0u);
        for (int y = 0; y < 3; ++y) {
            const size_t row = 54 + rowBytes * static_cast<size_t>(2 - y);
            for (int x = 0; x < width; ++x) {
                const size_t at = row + static_cast<size_t>(x) * 3;
                const std::uint32_t bgr = static_cast<std::uint8_t>(bmp[at]) |
                                          static_cast<std::uint8_t>(bmp[at + 1]) << 8 |
                                          static_cast<std::uint8_t>(bmp[at + 2]) << 16;
                ASSERT_EQ(bgr, picture.At(x, y) & 0xFFFFFF) << x << "," << y;
            }
            for (size_t pad = row + static_cast<size_t>(width) * 3; pad < row + rowBytes; ++pad) EXPECT_EQ(bmp[pad], 0);
        }
    }
}

TEST(BmpWriter, OnePixelFileExactly) {
    const std::string expected(
        "BM\x3A\0\0\0\0\0\0\0\x36\0\0\0"
        "\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x04\0\0\0\xC4\x0E\0\0\xC4\x0E\0\0\0\0\0\0\0\0\0\0"
        "\x56\x34\x12\0",
        58);
    EXPECT_EQ(fw::EncodeBmp(Picture(1, 1, 0x80123456u)), expected);
    const std::string empty = fw::EncodeBmp(Picture());
    EXPECT_EQ(empty.size(), 54u);
    EXPECT_EQ(Read32(empty, 18), 0u);
}

TEST(JpegWriter, BaselineColourQuality90) {
    const std::string jpeg = fw::EncodeJpeg(Smooth(33, 17));
    const Markers markers = ReadMarkers(jpeg);
    ASSERT_GE(markers.order.size(), 5u);
    EXPECT_EQ(markers.order[0], 0xD8);                                           // start of image
    EXPECT_EQ(markers.order[1], 0xE0);                                           // JFIF
    EXPECT_EQ(std::count(markers.order.begin(), markers.order.end(), 0xC0), 1);  // baseline frame
    EXPECT_EQ(std::count(markers.order.begin(), markers.order.end(), 0xC2), 0);  // not progressive
    EXPECT_EQ(std::count(markers.order.begin(), markers.order.end(), 0xDA), 1);  // one scan
    EXPECT_EQ(markers.frameComponents, 3);
    EXPECT_EQ(markers.frameWidth, 33);
    EXPECT_EQ(markers.frameHeight, 17);
    EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");

    const DecodedJpeg decoded = DecodeJpeg(jpeg);
    EXPECT_EQ(decoded.components, 3);
    EXPECT_TRUE(decoded.colourIsYCbCr);
    EXPECT_FALSE(decoded.progressive);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(decoded.quantTables[0][i], Quality90(kLuminance[i])) << "luminance " << i;
        EXPECT_EQ(decoded.quantTables[1][i], Quality90(kChrominance[i])) << "chrominance " << i;
    }
}

TEST(JpegWriter, DecodesToNearlyTheSamePixels) {
    for (auto [width, height] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{64, 48}, std::pair{301, 157}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const Picture picture = Smooth(width, height);
        const DecodedJpeg decoded = DecodeJpeg(fw::EncodeJpeg(picture));
        ASSERT_EQ(decoded.picture.width, width);
        ASSERT_EQ(decoded.picture.height, height);
        long long total = 0;
        int worst = 0;
        for (size_t i = 0; i < picture.pixels.size(); ++i) {
            for (int shift : {0, 8, 16}) {
                const int d = std::abs(Channel(picture.pixels[i], shift) - Channel(decoded.picture.pixels[i], shift));
                total += d;
                worst = std::max(worst, d);
            }
        }
        EXPECT_LE(worst, 6);
        EXPECT_LE(static_cast<double>(total) / static_cast<double>(picture.pixels.size() * 3), 1.5);
    }
    // Colours survive: pure red, green, blue and grey blocks stay within a few steps.
    Picture blocks(32, 8);
    const std::uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF808080u};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 32; ++x) blocks.At(x, y) = colours[x / 8];
    const DecodedJpeg decoded = DecodeJpeg(fw::EncodeJpeg(blocks));
    for (int b = 0; b < 4; ++b) {
        const std::uint32_t got = decoded.picture.At(b * 8 + 3, 4);
        for (int shift : {0, 8, 16}) EXPECT_NEAR(Channel(got, shift), Channel(colours[b], shift), 4) << "block " << b;
    }
}

TEST(JpegWriter, SameFileAsLibjpegMakesOfRgbRows) {
    for (auto [width, height] : {std::pair{1, 1}, std::pair{17, 9}, std::pair{640, 37}}) {
        const Picture picture = Pattern(width, height);
        EXPECT_EQ(fw::EncodeJpeg(picture), ReferenceJpeg(picture)) << width << "x" << height;
    }
}

TEST(JpegWriter, AlphaIsIgnoredAndFailuresAreErrors) {
    Picture opaque = Pattern(20, 10);
    Picture transparent = opaque;
    for (std::uint32_t& p : opaque.pixels) p |= 0xFF000000u;
    for (std::uint32_t& p : transparent.pixels) p &= 0x00FFFFFFu;
    EXPECT_EQ(fw::EncodeJpeg(opaque), fw::EncodeJpeg(transparent));

    // libjpeg's complaints come back as our errors, and the writer stays usable.
    for (const Picture& bad : {Picture(), Picture(70000, 1)}) {
        try {
            fw::EncodeJpeg(bad);
            ADD_FAILURE() << "no error for " << bad.width << "x" << bad.height;
        } catch (const fw::Error& e) {
            EXPECT_EQ(e.Text().rfind(u"JPEG error: ", 0), 0u) << e.what();
            EXPECT_GT(e.Text().size(), 14u) << e.what();
        }
    }
    EXPECT_EQ(DecodeJpeg(fw::EncodeJpeg(Picture(1, 1, 0xFFFFFFFFu))).picture.pixels,
              std::vector<std::uint32_t>{0xFFFFFFFFu});
}
