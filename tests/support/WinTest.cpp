// Windows test helpers: scratch folders, message pumping, window counts, key presses, message boxes.
#include "tests/support/WinTest.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <future>
#include <string>
#include <vector>

#include "core/datau.h"
#include "framework/Bitmap.h"
#include "framework/BmpWriter.h"
#include "framework/Text.h"
#include "framework/Win32FileStore.h"
#include "framework/Win32Geometry.h"
#include "framework/WinText.h"

namespace wintest {

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = fw::FromWide(temp) + u"corvalend-" + fw::IntToStr(GetCurrentProcessId()) + u"-" +
            fw::IntToStr(static_cast<long long>(GetTickCount64())) + u"-" + fw::IntToStr(rand());
    CreateDirectoryW(fw::AsWide(path_), nullptr);
}

ScratchFolder::~ScratchFolder() {
    DeleteTree(path_);
}

void DeleteTree(const std::u16string& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(fw::AsWide(folder + u"\\*"), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::u16string name = fw::FromWide(found.cFileName);
            if (name == u"." || name == u"..") continue;
            const std::u16string path = folder + u"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                SetFileAttributesW(fw::AsWide(path), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(fw::AsWide(path));
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(fw::AsWide(folder));
}

bool FolderExists(const std::u16string& folder) {
    const DWORD attributes = GetFileAttributesW(fw::AsWide(folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WaitFor(std::string_view what, const std::function<bool()>& ready, std::chrono::milliseconds limit) {
    if (PumpUntil(ready, limit)) return true;
    ADD_FAILURE() << "waited " << limit.count() / 1000.0 << " s in vain for " << what;
    return false;
}

void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG message;
        // The time is checked here too: with many short timers the queue is never empty.
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
            if (std::chrono::steady_clock::now() > end) break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

namespace {

struct ClassCount {
    const wchar_t* className;
    int count;
};

BOOL CALLBACK CountChildProc(HWND window, LPARAM param) {
    auto* counted = reinterpret_cast<ClassCount*>(param);
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (wcscmp(name, counted->className) == 0) ++counted->count;
    return TRUE;
}

BOOL CALLBACK CountThreadProc(HWND window, LPARAM param) {
    CountChildProc(window, param);
    EnumChildWindows(window, CountChildProc, param);
    return TRUE;
}

}  // namespace

int CountThreadWindows(const wchar_t* className) {
    ClassCount counted{className, 0};
    EnumThreadWindows(GetCurrentThreadId(), CountThreadProc, reinterpret_cast<LPARAM>(&counted));
    return counted.count;
}

GuiObjects CountGuiObjects() {
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

int ShellIconCount() {
    const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (tray == nullptr) return 0;  // made with the first icon
    int count = 0;
    for (HWND child = nullptr; (child = FindWindowExW(tray, child, nullptr, nullptr)) != nullptr;) ++count;
    return count;
}

bool ShellHasIcon(HWND window, UINT id) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = NOTIFYICONDATAW_V2_SIZE;
    probe.hWnd = window;
    probe.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

HoldingThread::HoldingThread(std::function<void(const Holding& holding)> hold)
    : release_(CreateEventW(nullptr, /*manualReset=*/TRUE, /*initialState=*/FALSE, nullptr)) {
    std::promise<bool> taken;
    std::future<bool> result = taken.get_future();
    thread_ = std::thread([this, hold = std::move(hold), &taken] {
        // The thread's message queue first: under Wine a hotkey registered for no window before the
        // thread had one belongs to no queue, and cannot be unregistered once it has one.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
        hold([&](bool got) {
            taken.set_value(got);
            while (MsgWaitForMultipleObjects(1, &release_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
                PumpPending();
            }
        });
    });
    held_ = result.get();
}

HoldingThread::~HoldingThread() {
    SetEvent(release_);
    thread_.join();
    CloseHandle(release_);
}

HeldCombination::HeldCombination(unsigned modifiers, unsigned key)
    : HoldingThread([modifiers, key](const Holding& holding) {
          const bool held = RegisterHotKey(nullptr, 1, modifiers, key) != FALSE;
          holding(held);
          if (held) UnregisterHotKey(nullptr, 1);
      }) {}

HeldClipboard::HeldClipboard()
    : HoldingThread([](const Holding& holding) {
          const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, /*parent=*/nullptr, /*menu=*/nullptr,
                                             /*instance=*/nullptr, /*param=*/nullptr);
          const bool held = OpenClipboard(owner) != FALSE;
          holding(held);
          if (held) CloseClipboard();
          DestroyWindow(owner);
      }) {}

namespace {

INPUT MouseInput(int x, int y, DWORD flags) {
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65536 + screenW - 1) / screenW;
    in.mi.dy = (y * 65536 + screenH - 1) / screenH;
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

}  // namespace

void MouseMoveTo(int x, int y) {
    INPUT in = MouseInput(x, y, 0);
    SendInput(1, &in, sizeof(INPUT));
}

void MouseButton(int x, int y, bool down) {
    INPUT in = MouseInput(x, y, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &in, sizeof(INPUT));
}

void PressCombination(unsigned modifiers, unsigned key) {
    std::vector<WORD> keys;
    if (modifiers & MOD_ALT) keys.push_back(VK_MENU);
    if (modifiers & MOD_CONTROL) keys.push_back(VK_CONTROL);
    if (modifiers & MOD_SHIFT) keys.push_back(VK_SHIFT);
    if (modifiers & MOD_WIN) keys.push_back(VK_LWIN);
    keys.push_back(static_cast<WORD>(key));
    std::vector<INPUT> inputs;
    for (WORD vk : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        inputs.push_back(input);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *it;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(*it, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

struct FindTop {
    DWORD processId;
    const wchar_t* className;
    const std::u16string* caption;
    HWND found;
};

BOOL CALLBACK FindTopProc(HWND hwnd, LPARAM param) {
    auto* find = reinterpret_cast<FindTop*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t className[64] = {};
    wchar_t caption[256] = {};
    GetClassNameW(hwnd, className, 64);
    // Not GetWindowText: for a window of this process that sends WM_GETTEXT and waits for the
    // window's thread, which may be the very thread waiting for us.
    InternalGetWindowText(hwnd, caption, 256);
    if (pid == find->processId && std::wstring(className) == find->className &&
        (find->caption == nullptr || fw::FromWide(caption) == *find->caption)) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindTopWindow(DWORD processId, const wchar_t* className, const std::u16string* caption) {
    FindTop find{processId, className, caption, nullptr};
    EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

namespace {

struct FindChild {
    const wchar_t* className;
    const wchar_t* text;
    HWND found;
};

BOOL CALLBACK FindChildProc(HWND child, LPARAM param) {
    auto* find = reinterpret_cast<FindChild*>(param);
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (_wcsicmp(className, find->className) != 0) return TRUE;
    if (find->text != nullptr) {
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        if (wcscmp(text, find->text) != 0) return TRUE;
    }
    find->found = child;
    return FALSE;
}

}  // namespace

HWND FindChildWindow(HWND parent, const wchar_t* className, const wchar_t* text) {
    FindChild find{className, text, nullptr};
    EnumChildWindows(parent, FindChildProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

MessageBoxWatcher::MessageBoxWatcher(std::u16string caption, int answer, std::chrono::milliseconds searchTime)
    : caption_(std::move(caption)), answer_(answer) {
    thread_ = std::thread([this, searchTime] { Watch(searchTime); });
}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();  // at most one short sleep away: the thread waits for no window of ours
}

void MessageBoxWatcher::Watch(std::chrono::milliseconds searchTime) {
    using Clock = std::chrono::steady_clock;
    // The answer is posted again as long as the box stays up, so that one arriving while the box is
    // still being set up cannot leave the test waiting.
    constexpr auto kAnswerAgain = std::chrono::milliseconds(500);
    constexpr auto kIconTime = std::chrono::milliseconds(1000);
    auto seenAt = Clock::now();
    const auto searchEnd = Clock::now() + searchTime;
    HWND box = nullptr;
    auto nextAnswer = Clock::now();
    while (!stop_) {
        const auto now = Clock::now();
        if (box == nullptr) {
            if (now > searchEnd) return;
            const HWND found = FindTopWindow(GetCurrentProcessId(), L"#32770", &caption_);
            wchar_t text[4096] = {};
            // The box may show before its text control (0xFFFF) is filled in.
            if (found != nullptr && IsWindowVisible(found) &&
                InternalGetWindowText(GetDlgItem(found, 0xFFFF), text, 4096) > 0) {
                Remember(found, fw::FromWide(text));
                box = found;
                seenAt = now;
                seen_ = true;
            }
        }
        if (box != nullptr) {
            if (!IsWindow(box) || !IsWindowVisible(box)) {
                closed_ = true;
                return;
            }
            // The icon may come after the text: the first answer waits for it a little.
            if (icon_ == nullptr) {
                ReadIcon(box);
                if (icon_ == nullptr && now < seenAt + kIconTime) {
                    Sleep(20);
                    continue;
                }
            }
            if (now >= nextAnswer) {
                PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer_), 0);
                nextAnswer = now + kAnswerAgain;
            }
        }
        Sleep(20);
    }
}

void MessageBoxWatcher::Remember(HWND box, std::u16string text) {
    text_ = std::move(text);
    owner_ = GetWindow(box, GW_OWNER);
    ReadIcon(box);
    // Wine's box holds every kind of button and hides those it does not use.
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        if (lstrcmpiW(kind, L"Button") != 0 || !IsWindowVisible(child)) continue;
        buttons_.push_back(GetDlgCtrlID(child));
        // Wine does not keep the default in the dialog's DM_GETDEFID, only in the style.
        if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) defaultButton_ = GetDlgCtrlID(child);
    }
}

void MessageBoxWatcher::ReadIcon(HWND box) {
    // The icon control's identifier is 0x14 on Windows, 0x440 under Wine. Asked with a time limit:
    // the box's thread may be busy.
    for (const int iconId : {0x14, 0x440}) {
        const HWND control = GetDlgItem(box, iconId);
        DWORD_PTR shown = 0;
        if (control != nullptr &&
            SendMessageTimeoutW(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, /*timeout=*/2000, &shown) != 0 &&
            shown != 0) {
            icon_ = reinterpret_cast<HICON>(shown);
        }
    }
}

bool MessageBoxWatcher::Wait(std::chrono::milliseconds timeout) {
    return PumpUntil([this] { return closed_.load(); }, timeout);
}

void EmptyHotkeyFile() {
    const std::u16string file = corvalend::HotkeyFileIn(corvalend::GetSpecialFolder(CSIDL_APPDATA));
    fw::ForceDirectories(fw::ExtractFileDir(file));
    fw::Win32FileStore().Replace(file, "");
}

void KeepScreenshot(HWND window, const std::u16string& name) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const fw::Picture picture = fw::GrabScreen(fw::FromRECT(rect));
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::u16string folder = fw::ExtractFileDir(fw::ExtractFileDir(fw::FromWide(exe))) + u"\\test-artefacts";
    fw::ForceDirectories(folder);
    const std::u16string path = folder + u"\\" + name;
    fw::Win32FileStore().Replace(path, fw::EncodeBmp(picture));
    std::printf("[ artefact ] %s\n", fw::Utf16ToUtf8(path).c_str());
}

namespace {

// The witnesses alive, by the identifier the system gave their timers.
std::vector<WitnessTimer*>& Witnesses() {
    static std::vector<WitnessTimer*> witnesses;
    return witnesses;
}

}  // namespace

WitnessTimer::WitnessTimer(std::chrono::milliseconds interval)
    : id_(SetTimer(nullptr, 0, static_cast<UINT>(interval.count()), &WitnessTimer::Tick)) {
    if (id_ == 0) ADD_FAILURE() << "no witness timer: error " << GetLastError();
    Witnesses().push_back(this);
}

WitnessTimer::~WitnessTimer() {
    if (id_ != 0) KillTimer(nullptr, id_);
    std::erase(Witnesses(), this);
}

bool WitnessTimer::WaitTicks(int count) {
    const int until = ticks_ + count;
    return WaitFor(std::to_string(count) + " ticks of a witness timer", [&] { return ticks_ >= until; });
}

bool WitnessTimer::Owns(const MSG& message) const {
    return message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == id_;
}

void CALLBACK WitnessTimer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    for (WitnessTimer* witness : Witnesses()) {
        if (witness->id_ == id) ++witness->ticks_;
    }
}

}  // namespace wintest
