// Reads the integrity level from a process's token: its mandatory label's last sub-authority.
#include "core/SystemIntegrity.h"

#include <windows.h>

#include <vector>

#include "framework/UniqueHandle.h"
#include "framework/WinText.h"

namespace corvalend {

namespace {

std::optional<uint32_t> TokenLevel(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
    const fw::UniqueKernelHandle ownedToken(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, /*information=*/nullptr, 0, &size);
    if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) return std::nullopt;
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    if (!IsValidSid(sid) || *GetSidSubAuthorityCount(sid) == 0) return std::nullopt;
    return static_cast<uint32_t>(*GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u));
}

// The window with its process's level and its title.
WindowInFront About(HWND handle) {
    WindowInFront about;
    DWORD processId = 0;
    if (handle == nullptr || GetWindowThreadProcessId(handle, &processId) == 0) return about;  // none, or gone
    about.id = reinterpret_cast<uintptr_t>(handle);
    // The limited right is the one a process run as administrator still grants to others; refused
    // even that, the level stays unknown, which counts as higher.
    const fw::UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, /*inherit=*/FALSE, processId));
    if (process) about.level = TokenLevel(process.get());
    // For another process's window the system gives the caption it keeps, without sending a message:
    // a window that hangs cannot stop us.
    wchar_t title[256] = {};
    GetWindowTextW(handle, title, static_cast<int>(std::size(title)));
    about.title = fw::FromWide(title);
    return about;
}

}  // namespace

std::optional<uint32_t> SystemIntegrity::OwnLevel() {
    return TokenLevel(GetCurrentProcess());
}

WindowInFront SystemIntegrity::Foreground() {
    return About(GetForegroundWindow());
}

uint64_t SystemIntegrity::Now() {
    return GetTickCount64();
}

}  // namespace corvalend
