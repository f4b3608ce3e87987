// Driving the real program from outside: a prepared hotkey file and registry, the program started
// as its own process, and its windows found and closed as another program would.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/UniqueHandle.h"

namespace e2e {

// The program file beside this test program.
std::u16string ProgramPath();
// The user's hotkey file and the folders the program keeps below the application-data folder.
std::u16string HotkeyFile();
std::u16string VendorFolder();

// Writes a hotkey file with the given text, UTF-16 with a byte-order mark.
void WriteHotkeyFile(const std::u16string& text);
// The program key's values that keep first-run windows away.
void PrepareRegistry();

// True when this process can take the combination right now (it is given back at once).
bool CanRegister(unsigned modifiers, unsigned key);

// Whether pressing the combination puts `text` on the clipboard within the patience, pressed again
// each second. A hotkey the program is still registering is waited for this way: asking the system
// whether the combination is free (CanRegister) could take it from the program at that moment.
bool PlacesWhenPressed(unsigned modifiers, unsigned key, const std::u16string& text);

// The text of a message box of the given process and caption, closed with the answer (OK unless
// told otherwise) once read; nothing when none appears within the time.
std::optional<std::u16string> TakeMessageBox(DWORD processId,
                                             const std::u16string& caption,
                                             std::chrono::milliseconds timeout,
                                             int answer = IDOK);

// The top-level windows of the process, hidden ones included.
std::vector<HWND> TopWindowsOf(DWORD processId);

// The program's notification icon as the shell knows it: its window (a hidden helper window of the
// program) and identifier; null when the shell has none.
std::pair<HWND, UINT> FindProgramIcon(DWORD processId);
// The process's tray menu once it is visible; null after the time.
HWND WaitForMenu(DWORD processId, std::chrono::milliseconds timeout);
// Gives the program's tray icon the shell's right-button notifications and waits until the program
// has handled them or shows its tray menu. True when the menu showed; it is closed again with Esc.
bool RightButtonOpensTheMenu(DWORD processId);

// Presses a combination, or types a text, once the late events are handled.
void Press(unsigned modifiers, unsigned key);
void Type(const std::u16string& text);

// A top-level window of this process as another program would have one: it records WM_CLOSE, can
// hold a multi-line edit control, and is brought to the foreground.
class TestWindow {
public:
    TestWindow(DWORD style, bool withEdit);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    HWND Edit() const { return edit_; }
    std::u16string EditText() const;
    int CloseRequests() const { return closeRequests_; }
    // Makes it the foreground window with the keyboard focus (on the edit control when it has one)
    // and waits until it is, its late events handled.
    void BringToFront();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    HWND edit_ = nullptr;
    int closeRequests_ = 0;
};

class RunningProgram {
public:
    // Starts the program (or a copy of it elsewhere) and waits until its message loop is idle.
    explicit RunningProgram(const std::u16string& program = ProgramPath());
    ~RunningProgram();  // ends it by closing its main window if it still runs

    DWORD ProcessId() const { return info_.dwProcessId; }
    HWND MainWindow() const { return mainWindow_; }
    HWND AppWindow() const { return appWindow_; }
    // Waits for the program to end by itself; the exit code, or STILL_ACTIVE after the time.
    DWORD WaitForExit(std::chrono::milliseconds timeout);
    // Closes the main window with WM_CLOSE and waits; the exit code, or STILL_ACTIVE after the time.
    DWORD Close(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    PROCESS_INFORMATION info_{};
    fw::UniqueKernelHandle process_;
    fw::UniqueKernelHandle thread_;
    HWND mainWindow_ = nullptr;
    HWND appWindow_ = nullptr;
};

}  // namespace e2e
