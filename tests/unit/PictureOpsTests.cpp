// Pixel operations: filling, cutting out and blending, with rectangles partly or wholly off the
// picture and pictures down to nothing.
#include <gtest/gtest.h>

#include <climits>

#include "framework/PictureOps.h"

namespace {

using fw::Picture;
using fw::Rect;

// Each pixel tells where it came from.
Picture Numbered(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(y << 12 | x);
    return picture;
}

int Count(const Picture& picture, std::uint32_t value) {
    int n = 0;
    for (std::uint32_t p : picture.pixels) n += p == value;
    return n;
}

}  // namespace

TEST(PictureOps, FillClipsToThePicture) {
    Picture picture(5, 4, 1);
    fw::FillRect(picture, Rect{3, -2, 9, 2}, 7);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(picture.At(x, y), x >= 3 && y < 2 ? 7u : 1u) << x << "," << y;
    fw::FillRect(picture, Rect{-100, -100, -50, 1000}, 9);  // wholly left
    fw::FillRect(picture, Rect{4, 3, 2, 1}, 9);             // inverted
    fw::FillRect(picture, Rect{INT_MIN, INT_MIN, INT_MAX, INT_MIN + 1}, 9);
    EXPECT_EQ(Count(picture, 9), 0);
    fw::FillRect(picture, Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 9);
    EXPECT_EQ(Count(picture, 9), 20);

    Picture empty;
    fw::FillRect(empty, Rect{0, 0, 10, 10}, 1);
    fw::FillOutside(empty, Rect{0, 0, 10, 10}, 1);
    EXPECT_TRUE(empty.Empty());
}

TEST(PictureOps, FillOutsideLeavesTheHole) {
    for (const Rect& hole :
         {Rect{1, 1, 3, 2}, Rect{0, 0, 5, 4}, Rect{-3, 2, 2, 99}, Rect{4, 3, 5, 4}, Rect{0, 0, 1, 1}}) {
        Picture picture(5, 4, 1);
        fw::FillOutside(picture, hole, 7);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 5; ++x) {
                const bool inside = x >= hole.left && x < hole.right && y >= hole.top && y < hole.bottom;
                ASSERT_EQ(picture.At(x, y), inside ? 1u : 7u) << x << "," << y;
            }
        }
    }
    // A hole off the picture fills everything.
    Picture picture(5, 4, 1);
    fw::FillOutside(picture, Rect{10, 10, 20, 20}, 7);
    EXPECT_EQ(Count(picture, 7), 20);
}

TEST(PictureOps, CopyTakesTheClippedRectangle) {
    const Picture source = Numbered(7, 5);
    const Picture part = fw::CopyRect(source, Rect{2, 1, 5, 4});
    ASSERT_EQ(part.width, 3);
    ASSERT_EQ(part.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(part.At(x, y), source.At(x + 2, y + 1));

    const Picture clipped = fw::CopyRect(source, Rect{5, -3, 100, 2});
    ASSERT_EQ(clipped.width, 2);
    ASSERT_EQ(clipped.height, 2);
    EXPECT_EQ(clipped.At(0, 0), source.At(5, 0));
    EXPECT_EQ(clipped.At(1, 1), source.At(6, 1));
    EXPECT_EQ(clipped.pixels.size(), 4u);

    EXPECT_EQ(fw::CopyRect(source, Rect{0, 0, 7, 5}).pixels, source.pixels);
    EXPECT_EQ(fw::CopyRect(source, Rect{6, 4, 7, 5}).pixels, std::vector<std::uint32_t>{source.At(6, 4)});
    EXPECT_TRUE(fw::CopyRect(source, Rect{7, 0, 9, 5}).Empty());
    EXPECT_TRUE(fw::CopyRect(source, Rect{3, 3, 1, 1}).Empty());
    EXPECT_TRUE(fw::CopyRect(source, Rect{-INT_MAX, 0, INT_MIN, 5}).Empty());
    EXPECT_TRUE(fw::CopyRect(Picture(), Rect{0, 0, 1, 1}).Empty());
    const Picture one(1, 1, 0xFF123456);
    EXPECT_EQ(fw::CopyRect(one, Rect{-5, -5, 5, 5}).pixels, one.pixels);
}

TEST(PictureOps, BlendMatchesRoundedStraightAlpha) {
    // Every alpha against a spread of channel values, each channel on its own place in the word.
    for (std::uint32_t alpha = 0; alpha < 256; ++alpha) {
        for (std::uint32_t over = 0; over < 256; over += 7) {
            for (std::uint32_t base = 0; base < 256; base += 5) {
                const std::uint32_t expected = (over * alpha + base * (255 - alpha) + 127) / 255;
                for (int shift : {0, 8, 16}) {
                    const std::uint32_t result = fw::BlendPixel(base << shift, alpha << 24 | over << shift);
                    ASSERT_EQ(result, 0xFF000000u | expected << shift)
                        << "alpha " << alpha << " over " << over << " base " << base << " shift " << shift;
                }
            }
        }
    }
    // The shade: black at alpha 150 keeps 105/255 of each channel.
    EXPECT_EQ(fw::BlendPixel(0xFFFFFFFFu, 0x96000000u), 0xFF696969u);
    EXPECT_EQ(fw::BlendPixel(0xFF123456u, 0x00000000u), 0xFF123456u);
    EXPECT_EQ(fw::BlendPixel(0x00123456u, 0x00000000u), 0xFF123456u);  // the result is opaque
    EXPECT_EQ(fw::BlendPixel(0xFF123456u, 0xFFABCDEFu), 0xFFABCDEFu);
}

TEST(PictureOps, ComposePaintsARegionWithTheOverlay) {
    const Picture picture(4, 3, 0xFFFFFFFFu);
    Picture overlay(4, 3, 0x00000000u);
    overlay.At(1, 1) = 0x96000000u;
    overlay.At(3, 2) = 0xFF00FF00u;
    const Picture painted = fw::ComposeOverlay(picture, &overlay, Rect{0, 0, 4, 3}, 0xFF000000u);
    ASSERT_EQ(painted.width, 4);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const std::uint32_t expected = x == 1 && y == 1   ? 0xFF696969u
                                           : x == 3 && y == 2 ? 0xFF00FF00u
                                                              : 0xFFFFFFFFu;
            EXPECT_EQ(painted.At(x, y), expected) << x << "," << y;
        }
    }

    // A region reaching past the picture: background there; only the part on the picture is blended.
    const Picture wide = fw::ComposeOverlay(picture, &overlay, Rect{-1, 1, 6, 4}, 0x00202020u);
    ASSERT_EQ(wide.width, 7);
    ASSERT_EQ(wide.height, 3);
    EXPECT_EQ(wide.At(0, 0), 0xFF202020u);
    EXPECT_EQ(wide.At(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(wide.At(2, 0), 0xFF696969u);
    EXPECT_EQ(wide.At(4, 1), 0xFF00FF00u);
    EXPECT_EQ(wide.At(5, 1), 0xFF202020u);
    EXPECT_EQ(wide.At(6, 1), 0xFF202020u);
    EXPECT_EQ(Count(wide, 0xFF202020u), 7 * 3 - 4 * 2);

    // No overlay, a smaller overlay, a region wholly outside, an empty picture, into a wider buffer.
    EXPECT_EQ(fw::ComposeOverlay(picture, nullptr, Rect{0, 0, 4, 3}, 0).pixels, picture.pixels);
    const Picture small(2, 2, 0xFF000000u);
    const Picture partly = fw::ComposeOverlay(picture, &small, Rect{0, 0, 4, 3}, 0);
    EXPECT_EQ(Count(partly, 0xFF000000u), 4);
    EXPECT_EQ(partly.At(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(partly.At(0, 2), 0xFFFFFFFFu);
    EXPECT_EQ(Count(fw::ComposeOverlay(picture, &overlay, Rect{100, 100, 102, 101}, 0x123456), 0xFF123456u), 2);
    EXPECT_EQ(Count(fw::ComposeOverlay(Picture(), &overlay, Rect{0, 0, 2, 2}, 0), 0xFF000000u), 4);
    EXPECT_TRUE(fw::ComposeOverlay(picture, &overlay, Rect{3, 0, 1, 2}, 0).Empty());

    std::vector<std::uint32_t> buffer(10 * 2, 0xDEADBEEFu);
    fw::ComposeOverlay(picture, &overlay, Rect{1, 1, 3, 3}, buffer.data(), 10, 0);
    EXPECT_EQ(buffer[0], 0xFF696969u);
    EXPECT_EQ(buffer[1], 0xFFFFFFFFu);
    EXPECT_EQ(buffer[2], 0xDEADBEEFu);  // beyond the region's width
    EXPECT_EQ(buffer[10], 0xFFFFFFFFu);
    EXPECT_EQ(buffer[12], 0xDEADBEEFu);
}
