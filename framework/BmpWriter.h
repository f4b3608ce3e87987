// Pictures as Windows bitmap files: uncompressed, 24 bits per pixel, rows bottom-up.
#pragma once

#include <string>

#include "framework/Picture.h"

namespace fw {

// The bytes of a bitmap file (BITMAPFILEHEADER, BITMAPINFOHEADER, then the rows, each padded to a
// multiple of four bytes). The alpha bytes are dropped.
std::string EncodeBmp(const Picture& picture);

}  // namespace fw
