// Version numbers packed into one integer and formatted as dotted text.
#include "framework/Version.h"

#include <cstdio>

#include "framework/Error.h"
#include "framework/Text.h"

namespace fw {

std::u16string FormatVersion(uint32_t Version) {
    char digits[16];
    std::snprintf(digits, sizeof(digits), "%.8u", Version);
    const std::u16string eightDigits(digits, digits + 8);
    return eightDigits.substr(0, 2) + u"." + eightDigits.substr(2, 2) + u"." + eightDigits.substr(4, 2) + u"." +
           eightDigits.substr(6, 2);
}

uint32_t VersionNumber(uint16_t major, uint16_t minor, uint16_t release, uint16_t build) {
    char digits[32];
    std::snprintf(digits, sizeof(digits), "%.2u%.2u%.2u%.2u", unsigned{major}, unsigned{minor}, unsigned{release},
                  unsigned{build});
    const std::u16string text(digits, digits + std::char_traits<char>::length(digits));
    const auto number = ParseInt(text);
    if (!number || *number < 0) ThrowConvertError(text);
    return static_cast<uint32_t>(*number);
}

}  // namespace fw
