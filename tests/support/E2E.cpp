// Test support: starting, finding and closing the real program, its hotkey file and registry prepared.
#include "tests/support/E2E.h"

#include <shlobj.h>

#include <stdexcept>
#include <thread>

#include "core/datau.h"
#include "framework/Registry.h"
#include "framework/TextFile.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/WinTest.h"

namespace e2e {

std::u16string ProgramPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fw::ExtractFileDir(fw::FromW(self)) + u"\\Corvalend.exe";
}

std::u16string HotkeyFile() {
    return corvalend::HotkeyFileIn(corvalend::GetSpecialFolder(CSIDL_APPDATA));
}

std::u16string VendorFolder() {
    return corvalend::GetSpecialFolder(CSIDL_APPDATA) + u"\\Tamberlo";
}

void WriteHotkeyFile(const std::u16string& text) {
    fw::ForceDirectories(fw::ExtractFileDir(HotkeyFile()));
    fw::Win32FileStore().Replace(HotkeyFile(), fw::EncodeUtf16LE(text, true));
}

void PrepareRegistry() {
    fw::RegistryIni(corvalend::kProgramKey).WriteString(u"FirstUse", u"0");
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
    while ((mainWindow_ = wintest::FindTopWindow(info_.dwProcessId, L"Corvalend.MainForm")) == nullptr &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    appWindow_ = wintest::FindTopWindow(info_.dwProcessId, L"Corvalend.Application");
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

DWORD RunningProgram::WaitForExit(std::chrono::milliseconds timeout) {
    WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count()));
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &exitCode);
    return exitCode;
}

DWORD RunningProgram::Close(std::chrono::milliseconds timeout) {
    PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
    WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count()));
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &exitCode);
    return exitCode;
}

}  // namespace e2e

namespace e2e {

std::u16string ClipboardText() {
    std::u16string text;
    for (int attempt = 0; attempt < 20 && !OpenClipboard(nullptr); ++attempt) Sleep(10);
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = fw::FromW(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void EmptyTheClipboard() {
    for (int attempt = 0; attempt < 20 && !OpenClipboard(nullptr); ++attempt) Sleep(10);
    EmptyClipboard();
    CloseClipboard();
}

std::optional<std::u16string> TakeMessageBox(DWORD processId,
                                             const std::u16string& caption,
                                             std::chrono::milliseconds timeout,
                                             int answer) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        const HWND box = wintest::FindTopWindow(processId, L"#32770", &caption);
        wchar_t text[1024] = {};
        // The box may show before its text is filled in; every box of ours has a text.
        if (box != nullptr && IsWindowVisible(box) && GetDlgItemTextW(box, 0xFFFF, text, 1024) > 0) {
            PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
            // Gone before the next one is looked for.
            for (int i = 0; i < 250 && IsWindow(box) && IsWindowVisible(box); ++i) Sleep(20);
            return fw::FromW(text);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

std::vector<HWND> TopWindowsOf(DWORD processId) {
    struct Found {
        DWORD processId;
        std::vector<HWND> windows;
    } found{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* of = reinterpret_cast<Found*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == of->processId) of->windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

std::pair<HWND, UINT> FindProgramIcon(DWORD processId) {
    for (const HWND window : TopWindowsOf(processId)) {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (wcscmp(className, L"TPUtilWindow") != 0) continue;
        for (UINT id = 1; id <= 16; ++id) {
            if (wintest::ShellHasIcon(window, id)) return {window, id};
        }
    }
    return {nullptr, 0};
}

HWND WaitForMenu(DWORD processId, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        const HWND menu = wintest::FindTopWindow(processId, L"#32768");
        if (menu != nullptr && IsWindowVisible(menu)) return menu;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

TestWindow::TestWindow(DWORD style, bool withEdit) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TestWindow::Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"CorvalendE2E.Window";
    RegisterClassExW(&wc);  // fails harmlessly once registered
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"Another program", style | WS_VISIBLE, 100, 100, 400, 300,
                            /*parent=*/nullptr, /*menu=*/nullptr, instance, /*param=*/this);
    if (withEdit) {
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 0, 0, 380, 250,
                                hwnd_, /*menu=*/nullptr, instance, nullptr);
    }
    BringToFront();
}

TestWindow::~TestWindow() {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

std::u16string TestWindow::EditText() const {
    wchar_t text[1024] = {};
    GetWindowTextW(edit_, text, 1024);
    return fw::FromW(text);
}

void TestWindow::BringToFront() {
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    SetFocus(edit_ != nullptr ? edit_ : hwnd_);
    // Under Wine the X server's focus events follow a little later and reset the key state to the
    // real keyboard's, which would drop a modifier pressed meanwhile.
    wintest::PumpUntil([] { return false; }, std::chrono::milliseconds(300));
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_CLOSE && self != nullptr) {
        ++self->closeRequests_;
        return 0;  // the test decides when the window goes
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace e2e
