// The version resource of a program file, as one number.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

// The file version as VersionNumber makes it (1.20.1.0 -> 1200100); 0 when the file or its
// version information is missing.
uint32_t GetFileVersion(const std::u16string& Filename);

}  // namespace fw
