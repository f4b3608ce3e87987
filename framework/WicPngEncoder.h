// PNG through the system's imaging component (windowscodecs), which every Windows has: no library of
// our own for it. The component is loaded with the first picture encoded.
#pragma once

#include "framework/PngEncoder.h"

namespace fw {

class WicPngEncoder final : public PngEncoder {
public:
    std::string EncodePng(const Picture& picture) const override;
};

}  // namespace fw
