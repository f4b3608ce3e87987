// Pixel operations on pictures: filling, cutting out and blending an overlay layer. Every rectangle
// is clipped to the picture first, so empty pictures and rectangles far outside are harmless.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/Geometry.h"
#include "framework/Picture.h"

namespace fw {

// The part of the rectangle that lies on the picture (empty when none does).
Rect ClipToPicture(const Picture& picture, const Rect& rect);

// Sets every pixel of the rectangle to the value.
void FillRect(Picture& picture, const Rect& rect, std::uint32_t value);

// Sets every pixel outside the rectangle to the value.
void FillOutside(Picture& picture, const Rect& rect, std::uint32_t value);

// A new picture with the pixels of the rectangle, one to one; empty when nothing of it is on the picture.
Picture CopyRect(const Picture& picture, const Rect& rect);

// Paints the region of the picture into dest (region width x height pixels, rows destStride pixels
// apart): the picture's pixels with the overlay (placed at (0, 0), straight per-pixel alpha) blended
// over them. The result is opaque; where the region leaves the picture it is the background. The
// overlay may be null, smaller or larger than the picture.
void ComposeOverlay(const Picture& picture,
                    const Picture* overlay,
                    const Rect& region,
                    std::uint32_t* dest,
                    std::size_t destStride,
                    std::uint32_t background);

// The same into a new picture of the region's size.
Picture ComposeOverlay(const Picture& picture, const Picture* overlay, const Rect& region, std::uint32_t background);

// Every pixel in a light grey of its brightness, its alpha kept: the look of something switched off.
void GreyOut(Picture& picture);

// One pixel of the overlay (straight alpha) over an opaque pixel; the result is opaque.
inline std::uint32_t BlendPixel(std::uint32_t base, std::uint32_t over) {
    const std::uint32_t alpha = over >> 24;
    if (alpha == 0) return base | 0xFF000000u;
    if (alpha == 255) return over;
    const std::uint32_t inverse = 255 - alpha;
    // Red and blue side by side in one word, then green: x * a / 255 rounded, for two channels at once.
    std::uint32_t rb = (over & 0x00FF00FFu) * alpha + (base & 0x00FF00FFu) * inverse + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t g = (over & 0x0000FF00u) * alpha + (base & 0x0000FF00u) * inverse + 0x00008000u;
    g = ((g + ((g >> 8) & 0x0000FF00u)) >> 8) & 0x0000FF00u;
    return 0xFF000000u | rb | g;
}

}  // namespace fw
