// Clipped pixel loops on pictures: fill, fill outside, copy out and overlay blending.
#include "framework/PictureOps.h"

#include <algorithm>

namespace fw {

namespace {

void BlendRun(const std::uint32_t* base, std::uint32_t over, std::uint32_t* out, int count) {
    const std::uint32_t alpha = over >> 24;
    if (alpha == 0) {
        for (int i = 0; i < count; ++i) out[i] = base[i] | 0xFF000000u;
    } else if (alpha == 255) {
        std::fill(out, out + count, over);
    } else {
        for (int i = 0; i < count; ++i) out[i] = BlendPixel(base[i], over);
    }
}

}  // namespace

Rect ClipToPicture(const Picture& picture, const Rect& rect) {
    Rect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, picture.width),
                 std::min(rect.bottom, picture.height)};
    return clipped.IsEmpty() ? Rect{} : clipped;
}

void FillRect(Picture& picture, const Rect& rect, std::uint32_t value) {
    const Rect clipped = ClipToPicture(picture, rect);
    for (int y = clipped.top; y < clipped.bottom; ++y)
        std::fill(picture.Row(y) + clipped.left, picture.Row(y) + clipped.right, value);
}

void FillOutside(Picture& picture, const Rect& rect, std::uint32_t value) {
    const Rect clipped = ClipToPicture(picture, rect);
    if (clipped.IsEmpty()) {
        std::fill(picture.pixels.begin(), picture.pixels.end(), value);
        return;
    }
    // Rows above and below in one stretch each; the rows beside the hole in two short runs.
    std::fill(picture.Row(0), picture.Row(clipped.top), value);
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        std::uint32_t* row = picture.Row(y);
        std::fill(row, row + clipped.left, value);
        std::fill(row + clipped.right, row + picture.width, value);
    }
    std::fill(picture.Row(clipped.bottom), picture.Row(0) + picture.pixels.size(), value);
}

Picture CopyRect(const Picture& picture, const Rect& rect) {
    const Rect clipped = ClipToPicture(picture, rect);
    Picture result;
    if (clipped.IsEmpty()) return result;
    result.width = clipped.Width();
    result.height = clipped.Height();
    // Appended row by row: the new pixels are written once, without zeroing them first.
    result.pixels.reserve(static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height));
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        result.pixels.insert(result.pixels.end(), picture.Row(y) + clipped.left, picture.Row(y) + clipped.right);
    }
    return result;
}

void ComposeOverlay(const Picture& picture,
                    const Picture* overlay,
                    const Rect& region,
                    std::uint32_t* dest,
                    std::size_t destStride,
                    std::uint32_t background) {
    if (region.IsEmpty()) return;
    background |= 0xFF000000u;
    const Rect onPicture = ClipToPicture(picture, region);
    Rect overlaid{};
    if (overlay != nullptr) {
        overlaid = ClipToPicture(*overlay, onPicture);
    }
    for (int y = region.top; y < region.bottom; ++y) {
        std::uint32_t* out = dest + static_cast<std::size_t>(y - region.top) * destStride;
        if (y < onPicture.top || y >= onPicture.bottom) {
            std::fill(out, out + region.Width(), background);
            continue;
        }
        // Background left of the picture, the picture (blended where the overlay reaches), background right.
        std::fill(out, out + (onPicture.left - region.left), background);
        out += onPicture.left - region.left;
        const std::uint32_t* base = picture.Row(y);
        int x = onPicture.left;
        if (y >= overlaid.top && y < overlaid.bottom) {
            for (; x < overlaid.left; ++x) *out++ = base[x] | 0xFF000000u;
            const std::uint32_t* over = overlay->Row(y);
            while (x < overlaid.right) {
                // Overlays such as the shade hold long runs of one value; one value blends in a tight loop.
                const std::uint32_t value = over[x];
                int end = x + 1;
                while (end < overlaid.right && over[end] == value) ++end;
                BlendRun(base + x, value, out, end - x);
                out += end - x;
                x = end;
            }
        }
        for (; x < onPicture.right; ++x) *out++ = base[x] | 0xFF000000u;
        std::fill(out, out + (region.right - onPicture.right), background);
    }
}

Picture ComposeOverlay(const Picture& picture, const Picture* overlay, const Rect& region, std::uint32_t background) {
    Picture result(region.Width(), region.Height());
    if (!result.Empty()) ComposeOverlay(picture, overlay, region, result.pixels.data(), result.width, background);
    return result;
}

void GreyOut(Picture& picture) {
    for (std::uint32_t& pixel : picture.pixels) {
        const std::uint32_t red = (pixel >> 16) & 0xFF;
        const std::uint32_t green = (pixel >> 8) & 0xFF;
        const std::uint32_t blue = pixel & 0xFF;
        // Brightness as the eye weighs the channels, squeezed into the upper part of the scale.
        const std::uint32_t grey = 96 + ((77 * red + 150 * green + 29 * blue) >> 8) * 5 / 8;
        pixel = (pixel & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
    }
}

}  // namespace fw
