// Test support: starting, finding and closing the real program, its hotkey file and registry prepared.
#include "tests/support/E2E.h"
#include "tests/support/Front.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "controls/TrayIconLogic.h"
#include "core/datau.h"
#include "framework/Bitmap.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/TextFile.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/FormTest.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

namespace e2e {

std::u16string ProgramPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fw::ExtractFileDir(fw::FromWide(self)) + u"\\Corvalend.exe";
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

bool PlacesWhenPressed(unsigned modifiers, unsigned key, const std::u16string& text) {
    return wintest::WaitFor("the hotkey working", [&] {
        wintest::EmptyTheClipboard();
        Press(modifiers, key);
        return wintest::PumpUntil([&] { return wintest::ClipboardText() == text; }, std::chrono::seconds(1));
    });
}

RunningProgram::RunningProgram(const std::u16string& program) {
    // What earlier windows left to the X server's late events happens before the program is there.
    wintest::SettleEvents();
    std::u16string commandLine = u"\"" + program + u"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    // Now and then, with the machine busy, Wine fails to start a process with an internal error
    // that is gone a moment later; a start that failed left nothing behind to mind.
    DWORD error = ERROR_SUCCESS;
    wintest::WaitFor("Corvalend.exe started", [&] {
        error = CreateProcessW(fw::AsWide(program), reinterpret_cast<wchar_t*>(commandLine.data()),
                               /*process=*/nullptr, /*thread=*/nullptr, /*inherit=*/FALSE, 0, /*environment=*/nullptr,
                               /*folder=*/nullptr, &startup, &info_)
                    ? ERROR_SUCCESS
                    : GetLastError();
        return error != ERROR_INTERNAL_ERROR;
    });
    if (error != ERROR_SUCCESS) {
        throw std::runtime_error("cannot start Corvalend.exe: error " + std::to_string(error));
    }
    process_.reset(info_.hProcess);
    thread_.reset(info_.hThread);
    WaitForInputIdle(info_.hProcess, 10000);
    wintest::WaitFor("the program's main window", [&] {
        return (mainWindow_ = wintest::FindTopWindow(info_.dwProcessId, L"Corvalend.MainForm")) != nullptr;
    });
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
    // This thread's windows answer meanwhile: a program that ends may ask them something.
    wintest::PumpUntil([&] { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }, timeout);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &exitCode);
    return exitCode;
}

DWORD RunningProgram::Close(std::chrono::milliseconds timeout) {
    PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
    return WaitForExit(timeout);
}

}  // namespace e2e

namespace e2e {

std::optional<std::u16string> TakeMessageBox(DWORD processId,
                                             const std::u16string& caption,
                                             std::chrono::milliseconds timeout,
                                             int answer) {
    HWND box = nullptr;
    wchar_t text[1024] = {};
    // The box may show before its text is filled in; every box of ours has a text.
    if (!wintest::PumpUntil(
            [&] {
                box = wintest::FindTopWindow(processId, L"#32770", &caption);
                return box != nullptr && IsWindowVisible(box) && GetDlgItemTextW(box, 0xFFFF, text, 1024) > 0;
            },
            timeout)) {
        return std::nullopt;
    }
    // Its focus events handled before it goes: late, they would spoil the keys pressed next.
    wintest::SettleEvents();
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    // Gone before the next one is looked for.
    wintest::WaitFor("the answered message box gone", [&] { return !IsWindow(box) || !IsWindowVisible(box); });
    return fw::FromWide(text);
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

namespace {

HWND VisibleMenu(DWORD processId) {
    const HWND menu = wintest::FindTopWindow(processId, L"#32768");
    return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

}  // namespace

HWND WaitForMenu(DWORD processId, std::chrono::milliseconds timeout) {
    HWND menu = nullptr;
    wintest::PumpUntil([&] { return (menu = VisibleMenu(processId)) != nullptr; }, timeout);
    return menu;
}

bool RightButtonOpensTheMenu(DWORD processId) {
    const auto [handler, id] = FindProgramIcon(processId);
    if (handler == nullptr) {
        ADD_FAILURE() << "the shell has no icon of the program";
        return false;
    }
    // Sent, so that the answers tell when the program is done with them: an icon that ignores the
    // button answers at once, one that shows its menu once the menu has gone. The count outlives a
    // wait in vain, for answers that come later still.
    int* const answers = new int(0);
    const SENDASYNCPROC answered = [](HWND, UINT, ULONG_PTR count, LRESULT) { ++*reinterpret_cast<int*>(count); };
    for (const UINT event : {WM_RBUTTONDOWN, WM_RBUTTONUP}) {
        SendMessageCallbackW(handler, WM_TRAYCALLBACK, id, event, answered, reinterpret_cast<ULONG_PTR>(answers));
    }
    HWND menu = nullptr;
    wintest::WaitFor("the tray icon's answer to the right button",
                     [&] { return (menu = VisibleMenu(processId)) != nullptr || *answers == 2; });
    if (menu != nullptr) {
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        wintest::WaitFor("the tray menu closed", [&] { return *answers == 2; });
    }
    if (*answers == 2) delete answers;
    return menu != nullptr;
}

void Press(unsigned modifiers, unsigned key) {
    wintest::SettleEvents();
    wintest::PressCombination(modifiers, key);
}

void Type(const std::u16string& text) {
    wintest::SettleEvents();
    wintest::TypeText(text);
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
    return fw::FromWide(text);
}

void TestWindow::BringToFront() {
    wintest::BringToFront(hwnd_, edit_ != nullptr ? edit_ : hwnd_);
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
