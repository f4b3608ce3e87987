// Latency of a place-in-clipboard hotkey under the real system: from the injected key press to the
// clipboard holding the text, for Corvalend and, side by side, for the least program that can do it.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "framework/WinText.h"
#include "tests/support/E2E.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr unsigned kModifiers = MOD_CONTROL | MOD_ALT;
constexpr unsigned kKey = VK_F11;
constexpr int kPresses = 50;

std::vector<double> Measure(const std::u16string& expected) {
    std::vector<double> samples;
    for (int i = 0; i < kPresses; ++i) {
        wintest::EmptyTheClipboard();
        const DWORD sequence = GetClipboardSequenceNumber();
        const auto start = Clock::now();
        wintest::PressCombination(kModifiers, kKey);
        while (Clock::now() - start < std::chrono::seconds(5)) {
            if (GetClipboardSequenceNumber() != sequence && wintest::ClipboardText() == expected) break;
            std::this_thread::yield();
        }
        samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        Sleep(20);
    }
    std::sort(samples.begin(), samples.end());
    return samples;
}

void Report(const char* name, const std::vector<double>& samples) {
    std::printf("%-28s median %6.2f ms   worst %6.2f ms   (%d presses)\n", name, samples[samples.size() / 2],
                samples.back(), static_cast<int>(samples.size()));
}

}  // namespace

int main() {
    const std::u16string text = u"latency probe \u00E4";
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(u"[key0]\r\nactive=1\r\nkey=" + std::u16string(u"122") +
                         u"\r\nshift=3\r\nfunc=placeinclipboard\r\n"
                         u"params=" +
                         text + u"\r\n");
    std::vector<double> ours;
    {
        e2e::RunningProgram program;
        ours = Measure(text);
    }

    std::u16string folder = e2e::ProgramPath();
    folder = folder.substr(0, folder.find_last_of(u'\\'));
    std::u16string commandLine = u"\"" + folder + u"\\MinimalHotkeyClipboard.exe\" 3 122 \"" + text + u"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        std::printf("cannot start the minimal program\n");
        return 1;
    }
    WaitForInputIdle(info.hProcess, 10000);
    Sleep(300);
    const std::vector<double> minimal = Measure(text);
    TerminateProcess(info.hProcess, 0);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);

    Report("Corvalend", ours);
    Report("minimal Win32 program", minimal);
    std::printf("ratio of medians %.2f (target: at most 1.5)\n", ours[ours.size() / 2] / minimal[minimal.size() / 2]);
    return 0;
}
