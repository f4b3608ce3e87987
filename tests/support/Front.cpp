// Test support: the window in front, and the late events of the X server let settle.
#include "tests/support/Front.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Text.h"
#include "framework/WinText.h"
#include "tests/support/WinTest.h"

namespace wintest {

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
        wc.lpszClassName = L"CorvalendTests.Witness";
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
        WaitFor("a few pixels of the test's in front of each window", [&] {
            bool all = true;
            for (const auto& witness : witnesses) {
                if (witness->Shown()) continue;
                witness->Raise();
                all = false;
            }
            return all;
        });
        for (const auto& witness : witnesses) witness->Hide();
        WaitFor("every process handling the events sent to it so far", [&] {
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
        if (!WaitFor("the window in front", [&] { return InFront(window, focus); })) {
            wchar_t name[64] = {}, caption[128] = {};
            GetClassNameW(GetForegroundWindow(), name, 64);
            InternalGetWindowText(GetForegroundWindow(), caption, 128);
            ADD_FAILURE() << "in front instead: " << fw::Utf16ToUtf8(fw::FromWide(name)) << " \""
                          << fw::Utf16ToUtf8(fw::FromWide(caption)) << "\"";
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

}  // namespace wintest
