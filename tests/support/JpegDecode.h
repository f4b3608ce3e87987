// Test support: decoding JPEG files with libjpeg, to check what our writer produced, and the file
// libjpeg makes of 24-bit RGB rows at quality 90 with its defaults, to compare it with.
#pragma once

#include <string>

#include "framework/Picture.h"

struct DecodedJpeg {
    fw::Picture picture;  // opaque 0xFFRRGGBB
    int components = 0;
    bool progressive = false;
    bool colourIsYCbCr = false;
    unsigned quantTables[2][64] = {};  // luminance and chrominance, natural order
};

// Throws std::runtime_error with libjpeg's message when the bytes are no valid JPEG file.
DecodedJpeg DecodeJpeg(const std::string& bytes);

// libjpeg's own file for the picture's colours given as 24-bit RGB rows, quality 90, defaults.
std::string ReferenceJpeg(const fw::Picture& picture);
