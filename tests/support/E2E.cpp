// Test support: starting, finding and closing the real program, its hotkey file and registry prepared.
#include "tests/support/E2E.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/datau.h"
#include "framework/Bitmap.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/TextFile.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "framework/WindowMessages.h"
#include "tests/support/FormTest.h"
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
    // What earlier windows left to the X server's late events happens before the program is there.
    SettleEvents();
    std::u16string commandLine = u"\"" + ProgramPath() + u"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    // Now and then, with the machine busy, Wine fails to start a process with an internal error
    // that is gone a moment later; a start that failed left nothing behind to mind.
    DWORD error = ERROR_SUCCESS;
    wintest::WaitFor("Corvalend.exe started", [&] {
        error = CreateProcessW(fw::W(ProgramPath()), reinterpret_cast<wchar_t*>(commandLine.data()),
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

namespace {

// Another program may hold the clipboard for a moment.
void OpenTheClipboard() {
    wintest::WaitFor("the clipboard free to open", [] { return OpenClipboard(nullptr) != FALSE; });
}

}  // namespace

std::u16string ClipboardText() {
    std::u16string text;
    OpenTheClipboard();
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
    OpenTheClipboard();
    EmptyClipboard();
    CloseClipboard();
}

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
    SettleEvents();
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    // Gone before the next one is looked for.
    wintest::WaitFor("the answered message box gone", [&] { return !IsWindow(box) || !IsWindowVisible(box); });
    return fw::FromW(text);
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

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

bool InFront(HWND window, HWND focus) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (GetForegroundWindow() != window || !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ||
        info.hwndActive != window || info.hwndFocus == nullptr) {
        return false;
    }
    if (focus != nullptr) return info.hwndFocus == focus;
    return info.hwndFocus == window || IsChild(window, info.hwndFocus);
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

namespace {

std::uint32_t ScreenPixel(POINT at) {
    return fw::GrabScreen({at.x, at.y, at.x + 1, at.y + 1}).At(0, 0);
}

std::uint32_t Opaque(COLORREF colour) {
    return 0xFF000000u | static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
           static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

// A few pixels of a colour of their own, in front of every window, that never take the focus.
class Witness {
public:
    static constexpr int kSize = 4;

    Witness(POINT at, COLORREF colour) : colour_(colour), probe_{at.x + 1, at.y + 1} {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Witness::Proc;
        wc.hInstance = instance;
        wc.lpszClassName = L"CorvalendE2E.Witness";
        RegisterClassW(&wc);  // fails harmlessly once registered
        hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP,
                                at.x, at.y, kSize, kSize, /*parent=*/nullptr, /*menu=*/nullptr, instance, this);
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    }
    ~Witness() { DestroyWindow(hwnd_); }
    Witness(const Witness&) = delete;
    Witness& operator=(const Witness&) = delete;

    // Its colour shows where it is (or was) on the screen.
    bool Shown() const { return ScreenPixel(probe_) == Opaque(colour_); }
    // Back on top of the X server's windows: a window that takes the focus raises itself there,
    // whatever the system's order says.
    void Raise() {
        constexpr UINT kOnlyOrder = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
        SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, kOnlyOrder);
        SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kOnlyOrder);
    }
    // Hidden without the system asking the windows below to paint themselves again: only the X
    // server's exposure event tells them.
    void Hide() {
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        const auto* self = reinterpret_cast<const Witness*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_ERASEBKGND && self != nullptr) {
            RECT client{};
            GetClientRect(hwnd, &client);
            const HBRUSH brush = CreateSolidBrush(self->colour_);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
            DeleteObject(brush);
            return 1;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    COLORREF colour_;
    POINT probe_;
    HWND hwnd_ = nullptr;
};

// A place for a witness over the window, on the screen where the window itself shows and the
// pointer is not (a pointer that comes onto a window brings it events of its own); none when there
// is no such place.
std::optional<POINT> WitnessPlace(HWND window) {
    RECT r{};
    if (!IsWindowVisible(window) || IsIconic(window) || !GetWindowRect(window, &r)) return std::nullopt;
    POINT cursor{};
    GetCursorPos(&cursor);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    constexpr int kInset = 6;
    const int right = r.right - kInset - Witness::kSize;
    const int bottom = r.bottom - kInset - Witness::kSize;
    for (const POINT at : {POINT{r.left + kInset, r.top + kInset}, POINT{right, r.top + kInset},
                           POINT{r.left + kInset, bottom}, POINT{right, bottom}}) {
        const POINT last{at.x + Witness::kSize - 1, at.y + Witness::kSize - 1};
        if (at.x < r.left || at.y < r.top || !PtInRect(&screen, at) || !PtInRect(&screen, last) ||
            (std::abs(cursor.x - at.x) < 24 && std::abs(cursor.y - at.y) < 24)) {
            continue;
        }
        if (GetAncestor(WindowFromPoint(at), GA_ROOT) == window &&
            GetAncestor(WindowFromPoint(last), GA_ROOT) == window) {
            return at;
        }
    }
    return std::nullopt;
}

// A window on the screen of each process that has one, with a place for a witness.
std::vector<std::pair<HWND, POINT>> OneWindowOfEachProcess() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<DWORD> processes;
    std::vector<std::pair<HWND, POINT>> chosen;
    for (const HWND window : windows) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (std::find(processes.begin(), processes.end(), process) != processes.end()) continue;
        const std::optional<POINT> at = WitnessPlace(window);
        if (!at) continue;
        processes.push_back(process);
        chosen.emplace_back(window, *at);
    }
    return chosen;
}

}  // namespace

void SettleEvents() {
    static const COLORREF kColours[] = {RGB(0xE0, 0x10, 0xC0), RGB(0x10, 0xC0, 0xE0), RGB(0xC0, 0xE0, 0x10)};
    // A second round, for focus requests that the processes made while they handled the first one's
    // messages: they have reached the X server before the second exposure.
    for (int round = 0; round < 2; ++round) {
        std::vector<std::pair<HWND, POINT>> places = OneWindowOfEachProcess();
        std::vector<std::unique_ptr<Witness>> witnesses;
        for (const auto& [window, at] : places) {
            const std::uint32_t before = ScreenPixel({at.x + 1, at.y + 1});
            COLORREF colour = kColours[0];
            for (const COLORREF candidate : kColours) {
                if (Opaque(candidate) != before) colour = candidate;
            }
            witnesses.push_back(std::make_unique<Witness>(at, colour));
        }
        wintest::WaitFor("a few pixels of the test's in front of each window", [&] {
            bool all = true;
            for (const auto& witness : witnesses) {
                if (witness->Shown()) continue;
                witness->Raise();
                all = false;
            }
            return all;
        });
        for (const auto& witness : witnesses) witness->Hide();
        wintest::WaitFor("every process handling the events sent to it so far", [&] {
            for (size_t i = 0; i < places.size(); ++i) {
                const HWND window = places[i].first;
                if (IsWindow(window) && IsWindowVisible(window) && witnesses[i]->Shown()) return false;
            }
            return true;
        });
    }
}

bool WaitInFront(HWND window, HWND focus) {
    // A window that another process's late events took the front from is brought back.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) SetForegroundWindow(window);
        if (!wintest::WaitFor("the window in front", [&] { return InFront(window, focus); })) {
            wchar_t name[64] = {}, caption[128] = {};
            GetClassNameW(GetForegroundWindow(), name, 64);
            InternalGetWindowText(GetForegroundWindow(), caption, 128);
            ADD_FAILURE() << "in front instead: " << fw::Utf16ToUtf8(fw::FromW(name)) << " \""
                          << fw::Utf16ToUtf8(fw::FromW(caption)) << "\"";
            return false;
        }
        SettleEvents();
        if (InFront(window, focus)) return true;
    }
    ADD_FAILURE() << "the window does not stay in front";
    return false;
}

bool BringToFront(HWND window, HWND focus) {
    // What came to the front before has its late events behind it, so that they cannot take the
    // front back.
    SettleEvents();
    SetForegroundWindow(window);
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        SetActiveWindow(window);
        SetFocus(focus != nullptr ? focus : window);
    }
    return WaitInFront(window, focus);
}

void Press(unsigned modifiers, unsigned key) {
    SettleEvents();
    wintest::PressCombination(modifiers, key);
}

void Type(const std::u16string& text) {
    SettleEvents();
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
    return fw::FromW(text);
}

void TestWindow::BringToFront() {
    e2e::BringToFront(hwnd_, edit_ != nullptr ? edit_ : hwnd_);
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
