// Pictures as PNG files, by whatever encoder the system offers: the portable units ask for the bytes
// and never see the system's codec.
#pragma once

#include <string>

#include "framework/Picture.h"

namespace fw {

class PngEncoder {
public:
    virtual ~PngEncoder() = default;
    // The bytes of a PNG file of the picture: 24-bit colour without alpha (the alpha bytes are
    // dropped), the encoder's default settings. Raises an Error with the system's reason when the
    // picture cannot be encoded.
    virtual std::string EncodePng(const Picture& picture) const = 0;
};

}  // namespace fw
