// Loading and pinning a system library at its first use, and looking up its functions.
#include "framework/SystemLibrary.h"

#include <cstring>
#include <string>

#include "framework/Error.h"
#include "framework/SystemError.h"
#include "framework/WinText.h"

namespace fw {

namespace {

[[noreturn]] void ThrowMissing(const std::u16string& what, DWORD error) {
    throw Error(what + u" could not be loaded: " + SystemErrorText(error));
}

}  // namespace

SystemLibrary::SystemLibrary(const wchar_t* fileName) : fileName_(fileName), module_(nullptr) {
    const HMODULE loaded = LoadLibraryExW(fileName, /*file=*/nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (loaded == nullptr) ThrowMissing(FromWide(fileName), GetLastError());
    // Pinned, the library no longer needs the reference the load took.
    HMODULE pinned = nullptr;
    const bool pin = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                        reinterpret_cast<LPCWSTR>(loaded), &pinned) != FALSE;
    if (pin) FreeLibrary(loaded);
    module_ = loaded;
}

FARPROC SystemLibrary::Address(const char* name) const {
    const FARPROC address = GetProcAddress(module_, name);
    if (address == nullptr) {
        const DWORD error = GetLastError();
        ThrowMissing(FromWide(fileName_) + u" (" + std::u16string(name, name + std::strlen(name)) + u")", error);
    }
    return address;
}

}  // namespace fw
