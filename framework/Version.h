// A program's four-part version (1.20.1.0) as one number and as a dotted text.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

// The four parts, two digits each at least, read as one number (1.20.1.0 -> 1200100). Raises
// "''%s'' is not a valid integer value" when the digits do not fit.
uint32_t VersionNumber(uint16_t major, uint16_t minor, uint16_t release, uint16_t build);

// 1200100 -> "01.20.01.00": eight digits at least, the first eight shown in pairs.
std::u16string FormatVersion(uint32_t Version);

}  // namespace fw
