// The session's mutex and the message by which a later start reaches the running copy.
#include "ui/RunningCopy.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace corvalend {

namespace {

bool answersLaterStarts = false;

constexpr wchar_t kMainWindowClass[] = L"Corvalend.MainForm";

struct OtherMainWindow {
    HWND window;
    DWORD processId;
};

// The main windows of the program's other processes.
std::vector<OtherMainWindow> OtherMainWindows() {
    std::vector<OtherMainWindow> found;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, kMainWindowClass, nullptr)) != nullptr;) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId != GetCurrentProcessId()) found.push_back({window, processId});
    }
    return found;
}

}  // namespace

TSessionMutex::TSessionMutex()
    : handle_(CreateMutexW(/*security=*/nullptr, /*initialOwner=*/FALSE, L"Local\\TamberloCorvalend")) {
    // Without a mutex (the system refused it) this copy runs as if it were the only one.
    heldElsewhere_ = handle_ && GetLastError() == ERROR_ALREADY_EXISTS;
    if (handle_ && !heldElsewhere_) answersLaterStarts = true;
}

UINT LaterStartMessage() {
    static const UINT message = RegisterWindowMessageW(L"Corvalend.ShowSettings");
    return message;
}

bool AnswersLaterStarts() {
    return answersLaterStarts;
}

bool AskRunningCopyToShowSettings(std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    for (;;) {
        // Every main window of another process is asked; only the copy holding the mutex answers.
        bool found = false;
        for (const auto [window, processId] : OtherMainWindows()) {
            // It may take the foreground, which this start, the one the user just made, may give.
            AllowSetForegroundWindow(processId);
            found = PostMessageW(window, LaterStartMessage(), 0, 0) != FALSE || found;
        }
        if (found || std::chrono::steady_clock::now() >= end) return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool AskRunningCopiesToEnd(std::chrono::milliseconds wait) {
    std::vector<fw::UniqueKernelHandle> processes;
    for (const auto [window, processId] : OtherMainWindows()) {
        fw::UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, /*inherit=*/FALSE, processId));
        if (PostMessageW(window, WM_CLOSE, 0, 0) && process) processes.push_back(std::move(process));
    }
    const auto end = std::chrono::steady_clock::now() + wait;
    for (const auto& process : processes) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (WaitForSingleObject(process.get(), static_cast<DWORD>(std::max<long long>(left.count(), 0))) !=
            WAIT_OBJECT_0) {
            return false;
        }
    }
    return true;
}

}  // namespace corvalend
