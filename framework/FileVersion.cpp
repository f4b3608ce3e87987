// Reads a program file's version resource into one number.
#include "framework/FileVersion.h"

#include <windows.h>

#include <vector>

#include "framework/Version.h"
#include "framework/WinText.h"

namespace fw {

uint32_t GetFileVersion(const std::u16string& Filename) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(AsWide(Filename), &ignored);
    if (size == 0) return 0;
    std::vector<BYTE> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(AsWide(Filename), 0, size, info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr) {
        return 0;
    }
    return VersionNumber(HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                         LOWORD(fixed->dwFileVersionLS));
}

}  // namespace fw
