#include "tests/e2e/E2E.h"

#include <shlobj.h>

#include <stdexcept>
#include <thread>

#include "core/datau.h"
#include "framework/Registry.h"
#include "framework/TextFile.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"

namespace e2e {

namespace {

struct FindWindowOf {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindWindowProc(HWND hwnd, LPARAM param) {
    auto* find = reinterpret_cast<FindWindowOf*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    if (pid == find->processId && std::wstring(className) == find->className) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WindowOf(DWORD processId, const wchar_t* className) {
    FindWindowOf find{processId, className, nullptr};
    EnumWindows(FindWindowProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

}  // namespace

std::u16string ProgramPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fw::ExtractFileDir(fw::FromW(self)) + u"\\Corvalend.exe";
}

std::u16string HotkeyFile() {
    return HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA));
}

std::u16string VendorFolder() {
    return GetSpecialFolder(CSIDL_APPDATA) + u"\\Tamberlo";
}

void WriteHotkeyFile(const std::u16string& text) {
    fw::ForceDirectories(fw::ExtractFileDir(HotkeyFile()));
    fw::Win32FileStore().Replace(HotkeyFile(), fw::EncodeUtf16LE(text, true));
}

void PrepareRegistry() {
    fw::RegistryIni(kProgramKey).WriteString(u"FirstUse", u"0");
}

bool CanRegister(unsigned modifiers, unsigned key) {
    if (!RegisterHotKey(nullptr, 0xBEEF, modifiers, key)) return false;
    UnregisterHotKey(nullptr, 0xBEEF);
    return true;
}

RunningProgram::RunningProgram() {
    std::u16string commandLine = u"\"" + ProgramPath() + u"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(fw::W(ProgramPath()), reinterpret_cast<wchar_t*>(commandLine.data()), /*process=*/nullptr,
                        /*thread=*/nullptr, /*inherit=*/FALSE, 0, /*environment=*/nullptr, /*folder=*/nullptr, &startup,
                        &info_)) {
        throw std::runtime_error("cannot start Corvalend.exe");
    }
    process_.reset(info_.hProcess);
    thread_.reset(info_.hThread);
    WaitForInputIdle(info_.hProcess, 10000);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((mainWindow_ = WindowOf(info_.dwProcessId, L"Corvalend.MainForm")) == nullptr &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    appWindow_ = WindowOf(info_.dwProcessId, L"Corvalend.Application");
    if (mainWindow_ == nullptr) throw std::runtime_error("Corvalend shows no main window");
    // Start-up finishes before the loop takes input: once the program answers a message sent
    // through its queue, the hotkeys are registered.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(mainWindow_, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
}

RunningProgram::~RunningProgram() {
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT && Close() == STILL_ACTIVE) {
        TerminateProcess(process_.get(), 99);
    }
}

DWORD RunningProgram::Close(std::chrono::milliseconds timeout) {
    PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
    WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count()));
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &exitCode);
    return exitCode;
}

}  // namespace e2e
