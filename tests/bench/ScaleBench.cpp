// How the running program scales with the number of hotkeys, under the real system: start-up, the
// settings window opened by a tray double click and the popup opened by a tray click, each timed
// from the click (or the start) to the window being visible and idle.
//
//     ScaleBench                 all timings, with their references, as text
//     ScaleBench prepare N       only writes a hotkey file of N hotkeys (for the memory figures)
//     ScaleBench measure N [R]   start-up, popup and settings window at N hotkeys only, R times each
//     ScaleBench startup N [R]   start-up at N hotkeys beside start-up at one, R times each
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "controls/TrayIconLogic.h"
#include "framework/Text.h"
#include "tests/support/E2E.h"
#include "tests/support/WinTest.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// N distinct combinations: 70 keys (digits, letters, F1 to F24, the keypad's digits) under each of
// the 15 modifier masks, with a mix of actions and parameters as a user's list has them.
std::u16string HotkeyFileText(int count) {
    std::vector<int> keys;
    for (int k = 0x30; k <= 0x39; ++k) keys.push_back(k);
    for (int k = 0x41; k <= 0x5A; ++k) keys.push_back(k);
    for (int k = 0x70; k <= 0x87; ++k) keys.push_back(k);
    for (int k = 0x60; k <= 0x69; ++k) keys.push_back(k);
    static const char16_t* const kActions[] = {u"maximize", u"openfile", u"placeinclipboard", u"sendkeystrokes",
                                               u"openwebsite"};
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        const int key = keys[static_cast<size_t>(i) % keys.size()];
        const int shift = 1 + i / static_cast<int>(keys.size());
        const std::u16string n = fw::IntToStr(i);
        const char16_t* action = kActions[i % 5];
        text += u"[key" + n + u"]\r\nactive=1\r\nkey=" + fw::IntToStr(key) + u"\r\nshift=" + fw::IntToStr(shift) +
                u"\r\nfunc=" + action + u"\r\nparams=" + (i % 5 == 0 ? u"" : u"parameter of hotkey " + n) +
                u"\r\nparams2=" + (i % 5 == 1 ? u"-x" : u"") + u"\r\nparams3=\r\n\r\n";
    }
    return text;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The program's message loop has handled everything before this call.
bool Idle(HWND window, std::chrono::milliseconds timeout) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, static_cast<UINT>(timeout.count()), &ignored) != 0;
}

HWND VisibleSettingsWindow(DWORD processId) {
    const std::u16string caption = u"Settings";
    const HWND window = wintest::FindTopWindow(processId, L"Corvalend.Form", &caption);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

template <class Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

void Click(HWND handler, UINT id, bool twice) {
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONDOWN);
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONUP);
    if (twice) {
        PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONDBLCLK);
        PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONUP);
    }
}

// Milliseconds from the tray double click to the settings window shown and idle; nothing when it
// did not come.
std::optional<double> OpenSettings(const e2e::RunningProgram& program, HWND handler, UINT id) {
    const auto start = Clock::now();
    Click(handler, id, /*twice=*/true);
    HWND window = nullptr;
    if (!WaitFor([&] { return (window = VisibleSettingsWindow(program.ProcessId())) != nullptr; }, 300s) ||
        !Idle(window, 300s)) {
        return std::nullopt;
    }
    const double ms = Ms(Clock::now() - start);
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitFor([&] { return VisibleSettingsWindow(program.ProcessId()) == nullptr; }, 60s);
    Idle(program.MainWindow(), 60s);
    return ms;
}

// Milliseconds from the tray click to the popup shown and idle (the double-click wait included).
std::optional<double> OpenPopup(const e2e::RunningProgram& program, HWND handler, UINT id) {
    const auto start = Clock::now();
    Click(handler, id, /*twice=*/false);
    if (!WaitFor([&] { return IsWindowVisible(program.MainWindow()) != FALSE; }, 120s) ||
        !Idle(program.MainWindow(), 120s)) {
        return std::nullopt;
    }
    const double ms = Ms(Clock::now() - start);
    Click(handler, id, /*twice=*/false);  // a second click hides it
    WaitFor([&] { return !IsWindowVisible(program.MainWindow()); }, 30s);
    Idle(program.MainWindow(), 30s);
    return ms;
}

// Milliseconds from the program's start to its message loop idle with `count` hotkeys (the file
// loaded and every hotkey registered), `repeats` times.
std::vector<double> StartUps(int count, int repeats) {
    std::fprintf(stderr, "starting with %d hotkeys\n", count);
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(HotkeyFileText(count));
    std::vector<double> samples;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        const e2e::RunningProgram program;
        samples.push_back(Ms(Clock::now() - start));
    }
    return samples;
}

// Milliseconds from each key typed into the find box of the settings window at `count` hotkeys to
// the column filtered and painted.
std::vector<double> FindKeys(int count) {
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(HotkeyFileText(count));
    const e2e::RunningProgram program;
    const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
    HWND window = nullptr;
    if (handler != nullptr) Click(handler, id, /*twice=*/true);
    if (!WaitFor([&] { return (window = VisibleSettingsWindow(program.ProcessId())) != nullptr; }, 300s)) return {};
    Idle(window, 300s);
    RedrawWindow(window, /*rect=*/nullptr, /*region=*/nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // its first paint
    const HWND box = GetWindow(wintest::FindChildWindow(window, L"Static", L"&Find:"), GW_HWNDNEXT);
    std::vector<double> samples;
    for (const wchar_t key : std::wstring(L"hotkey 99")) {
        const auto start = Clock::now();
        SendMessageW(box, WM_CHAR, key, 0);
        RedrawWindow(window, /*rect=*/nullptr, /*region=*/nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        samples.push_back(Ms(Clock::now() - start));
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    return samples;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[samples.size() / 2];
}

struct Run {
    double startMs = 0;
    std::vector<double> settings;
    std::vector<double> popup;
};

// Starts the program with `count` hotkeys and opens each window `repeats` times.
Run Measure(int count, int settingsRepeats, int popupRepeats) {
    std::fprintf(stderr, "measuring %d hotkeys\n", count);
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(HotkeyFileText(count));
    Run run;
    const auto start = Clock::now();
    e2e::RunningProgram program;
    run.startMs = Ms(Clock::now() - start);
    const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
    if (handler == nullptr) {
        std::printf("no tray icon with %d hotkeys\n", count);
        return run;
    }
    std::fprintf(stderr, "  started in %.0f ms\n", run.startMs);
    for (int i = 0; i < popupRepeats; ++i) {
        if (const auto ms = OpenPopup(program, handler, id)) run.popup.push_back(*ms);
        std::fprintf(stderr, "  popup %.0f ms\n", run.popup.empty() ? -1.0 : run.popup.back());
    }
    for (int i = 0; i < settingsRepeats; ++i) {
        if (const auto ms = OpenSettings(program, handler, id)) run.settings.push_back(*ms);
        std::fprintf(stderr, "  settings %.0f ms\n", run.settings.empty() ? -1.0 : run.settings.back());
    }
    return run;
}

// One figure: the median, and with a reference its ratio to it, and with a target (a largest
// ratio) whether the ratio meets it.
void Line(const char* what, int count, const std::vector<double>& samples, double reference = 0, double target = 0) {
    if (samples.empty()) {
        std::printf("  %-27s %5d hotkeys   (did not open)\n", what, count);
        return;
    }
    const double median = Median(samples);
    std::printf("  %-27s %5d hotkeys  %8.0f ms  (%d runs)", what, count, median, static_cast<int>(samples.size()));
    if (reference > 0) {
        const double ratio = median / reference;
        std::printf("  %6.2f x the reference", ratio);
        if (target > 0) std::printf("  (target <= %.1f)  %s", target, ratio <= target ? "ok" : "MISSED");
    }
    std::printf("\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"prepare") == 0) {
        e2e::PrepareRegistry();
        e2e::WriteHotkeyFile(HotkeyFileText(static_cast<int>(std::wcstol(argv[2], nullptr, 10))));
        return 0;
    }
    if (argc >= 3 && std::wcscmp(argv[1], L"measure") == 0) {
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        const int count = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
        const int times = argc > 3 ? static_cast<int>(std::wcstol(argv[3], nullptr, 10)) : 1;
        const Run run = Measure(count, _wgetenv(L"NOSETTINGS") ? 0 : times, times);
        Line("start-up (until idle)", count, {run.startMs});
        Line("popup", count, run.popup);
        Line("settings window", count, run.settings);
        return 0;
    }
    if (argc >= 3 && std::wcscmp(argv[1], L"startup") == 0) {
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        const int count = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
        const int times = argc > 3 ? static_cast<int>(std::wcstol(argv[3], nullptr, 10)) : 3;
        const std::vector<double> one = StartUps(1, times);
        Line("start-up (until idle)", 1, one);
        Line("start-up (until idle)", count, StartUps(count, times), Median(one));
        return 0;
    }
    const int repeats = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 3;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::printf("\nScale under Wine (tray click or double click, or start, to the window visible and idle):\n");

    try {
        const Run one = Measure(1, repeats, 0);
        const Run three = Measure(3, 0, repeats);
        const Run hundred = Measure(100, repeats, 0);
        const Run many = Measure(364, repeats, repeats);
        const Run thousand = Measure(1000, std::max(1, repeats / 2), 1);
        const std::vector<double> startOne = StartUps(1, repeats);
        const std::vector<double> startThousand = StartUps(1000, repeats);
        const std::vector<double> findThousand = FindKeys(1000);

        // Each figure beside its reference, measured in this same run: one hotkey for the settings
        // window and the start-up, three for the popup.
        std::printf("  the settings window, from a tray double click (reference: 1 hotkey)\n");
        const double settingsReference = Median(one.settings);
        Line("settings window", 1, one.settings);
        Line("settings window", 100, hundred.settings, settingsReference);
        Line("settings window", 364, many.settings, settingsReference, 2);
        Line("settings window", 1000, thousand.settings, settingsReference);
        std::printf("  the popup, from a tray click, the double-click wait included (reference: 3 hotkeys)\n");
        const double popupReference = Median(three.popup);
        Line("popup", 3, three.popup);
        Line("popup", 364, many.popup, popupReference, 1.3);
        std::printf("  start-up: file, registration, message loop idle (reference: 1 hotkey)\n");
        Line("start-up (until idle)", 1, startOne);
        Line("start-up (until idle)", 1000, startThousand, Median(startOne));
        Line("first popup after start-up", 1000, thousand.popup, popupReference);
        const double slowest = findThousand.empty() ? 0 : *std::ranges::max_element(findThousand);
        std::printf(
            "  the find box: a key typed to the column filtered and painted; slowest %.1f ms (target <= 50)  %s\n",
            slowest, !findThousand.empty() && slowest <= 50 ? "ok" : "MISSED");
        Line("find box, one key", 1000, findThousand);
        std::printf("\n");
    } catch (const std::exception& e) {
        std::printf("failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
