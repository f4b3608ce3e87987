#include "tests/win/WinTest.h"

#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/BmpWriter.h"
#include "framework/Text.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"

namespace wintest {

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = fw::FromW(temp) + u"corvalend-" + fw::IntToStr(GetCurrentProcessId()) + u"-" +
            fw::IntToStr(static_cast<long long>(GetTickCount64())) + u"-" + fw::IntToStr(rand());
    CreateDirectoryW(fw::W(path_), nullptr);
}

ScratchFolder::~ScratchFolder() {
    DeleteTree(path_);
}

void DeleteTree(const std::u16string& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(fw::W(folder + u"\\*"), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::u16string name = fw::FromW(found.cFileName);
            if (name == u"." || name == u"..") continue;
            const std::u16string path = folder + u"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                SetFileAttributesW(fw::W(path), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(fw::W(path));
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(fw::W(folder));
}

bool FolderExists(const std::u16string& folder) {
    const DWORD attributes = GetFileAttributesW(fw::W(folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
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
    GetWindowTextW(hwnd, caption, 256);
    if (pid == find->processId && std::wstring(className) == find->className &&
        (find->caption == nullptr || fw::FromW(caption) == *find->caption)) {
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

MessageBoxWatcher::MessageBoxWatcher(std::u16string caption, int answer)
    : caption_(std::move(caption)), answer_(answer) {
    thread_ = std::thread([this] {
        while (!stop_) {
            const HWND box = FindTopWindow(GetCurrentProcessId(), L"#32770", &caption_);
            wchar_t text[1024] = {};
            // The box may show before its text control (0xFFFF) is filled in.
            if (box != nullptr && IsWindowVisible(box) && GetDlgItemTextW(box, 0xFFFF, text, 1024) > 0) {
                text_ = fw::FromW(text);
                // The stop icon is the system's hand icon in the box's icon control (its identifier
                // is 0x14 on Windows, 0x440 under Wine).
                for (const int iconId : {0x14, 0x440}) {
                    const auto shown = reinterpret_cast<HICON>(SendDlgItemMessageW(box, iconId, STM_GETICON, 0, 0));
                    stopIcon_ = stopIcon_ || (shown != nullptr && shown == LoadIconW(nullptr, IDI_HAND));
                    informationIcon_ =
                        informationIcon_ || (shown != nullptr && shown == LoadIconW(nullptr, IDI_INFORMATION));
                }
                // Wine's box holds every kind of button and hides those it does not use.
                for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
                    wchar_t kind[16] = {};
                    GetClassNameW(child, kind, 16);
                    if (lstrcmpiW(kind, L"Button") != 0 || !IsWindowVisible(child)) continue;
                    buttons_.push_back(GetDlgCtrlID(child));
                    // Wine does not keep the default in the dialog's DM_GETDEFID, only in the style.
                    if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                        defaultButton_ = GetDlgCtrlID(child);
                }
                seen_ = true;
                PostMessageW(box, WM_COMMAND, answer_, 0);
                return;
            }
            Sleep(20);
        }
    });
}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

bool MessageBoxWatcher::Wait(std::chrono::milliseconds timeout) {
    return PumpUntil([this] { return seen_.load(); }, timeout);
}

void KeepScreenshot(HWND window, const std::u16string& name) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const fw::Picture picture = fw::GrabScreen({rect.left, rect.top, rect.right, rect.bottom});
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::u16string folder = fw::ExtractFileDir(fw::ExtractFileDir(fw::FromW(exe))) + u"\\test-artefacts";
    fw::ForceDirectories(folder);
    const std::u16string path = folder + u"\\" + name;
    fw::Win32FileStore().Replace(path, fw::EncodeBmp(picture));
    std::printf("[ artefact ] %s\n", fw::Utf16ToUtf8(path).c_str());
}

}  // namespace wintest
