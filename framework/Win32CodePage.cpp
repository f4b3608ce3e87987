// Converting ANSI text with the system's code page.
#include "framework/Win32CodePage.h"

#include <windows.h>

#include <climits>

namespace fw {

std::u16string SystemAnsiCodePage::ToUtf16(std::string_view bytes) const {
    std::u16string out;
    while (!bytes.empty()) {
        // Whole files fit easily; the chunking only keeps the sizes within int.
        const int chunk = static_cast<int>(std::min<size_t>(bytes.size(), INT_MAX / 2));
        const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), chunk, nullptr, 0);
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(length));
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), chunk, reinterpret_cast<wchar_t*>(out.data() + at), length);
        bytes.remove_prefix(static_cast<size_t>(chunk));
    }
    return out;
}

}  // namespace fw
