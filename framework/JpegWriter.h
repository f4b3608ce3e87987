// Pictures as JPEG files through libjpeg: quality 90, baseline, colour (YCbCr, three components),
// from 24-bit RGB input.
#pragma once

#include <string>

#include "framework/Picture.h"

namespace fw {

constexpr int kJpegQuality = 90;

// The bytes of a JPEG file of the picture; the alpha bytes are dropped. A picture libjpeg cannot
// encode (empty, or over 65500 pixels on a side) raises an error with libjpeg's message.
std::string EncodeJpeg(const Picture& picture);

}  // namespace fw
