// A 32-bit picture in memory, the exchange format between the screen grab, the capture window's
// image view and the file writers. Rows run top-down; each pixel is 0xAARRGGBB, so in memory it
// reads blue, green, red, alpha, exactly as a top-down 32-bit device-independent bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fw {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, row after row from the top

    Picture() = default;
    Picture(int w, int h, std::uint32_t fill = 0)
        : width(w > 0 && h > 0 ? w : 0),
          height(w > 0 && h > 0 ? h : 0),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

    bool Empty() const { return pixels.empty(); }
    std::uint32_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
    const std::uint32_t* Row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }
    std::uint32_t& At(int x, int y) { return Row(y)[x]; }
    std::uint32_t At(int x, int y) const { return Row(y)[x]; }
};

}  // namespace fw
