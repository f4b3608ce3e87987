// The system's own text for an error code, as shown after our messages.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// FormatMessage's text without its trailing line break and period; "System error code N" when the
// system has no text.
std::u16string SystemErrorText(DWORD code);

// Raises the failure the system reports for the call just made (GetLastError) as an fw::Error.
[[noreturn]] void ThrowLastError();

}  // namespace fw
