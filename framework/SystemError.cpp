// The system's message text for an error code, and the last error thrown as our exception.
#include "framework/SystemError.h"

#include <cstdio>

#include "framework/Error.h"
#include "framework/Text.h"
#include "framework/WinText.h"

namespace fw {

std::u16string SystemErrorText(DWORD code) {
    wchar_t buffer[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, /*source=*/nullptr, code,
                                  /*language=*/0, buffer, static_cast<DWORD>(std::size(buffer)),
                                  /*arguments=*/nullptr);
    while (length > 0 && (buffer[length - 1] <= L' ' || buffer[length - 1] == L'.')) --length;
    if (length == 0) {
        if (code < 0x80000000u) return u"System error code " + IntToStr(code);
        char hex[16];
        std::snprintf(hex, sizeof(hex), "0x%08lX", static_cast<unsigned long>(code));  // an HRESULT reads in hex
        return u"System error code " + Utf8ToUtf16(hex);
    }
    return FromWide(buffer, length);
}

void ThrowLastError() {
    throw Error(SystemErrorText(GetLastError()));
}

}  // namespace fw
