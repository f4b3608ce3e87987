// Shared helpers of the Windows tests: scratch folders, message pumping and watching for dialogs.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/Text.h"

namespace wintest {

// A new empty folder below the temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::u16string& Path() const { return path_; }
    std::u16string File(const std::u16string& name) const { return path_ + u"\\" + name; }

private:
    std::u16string path_;
};

void DeleteTree(const std::u16string& folder);
bool FolderExists(const std::u16string& folder);

// Pumps this thread's messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// A top-level window of the process with the class and, when given, the caption; null when none.
HWND FindTopWindow(DWORD processId, const wchar_t* className, const std::u16string* caption = nullptr);

// The number of windows of this thread with the class, hidden ones and children included.
int CountThreadWindows(const wchar_t* className);

// The process's GDI and USER objects as the system counts them (Wine always says 0).
struct GuiObjects {
    DWORD gdi = 0;
    DWORD user = 0;
    bool operator==(const GuiObjects&) const = default;
};
GuiObjects CountGuiObjects();

// The notification-area icons the shell shows (Wine's tray window holds one child per icon).
int ShellIconCount();
// True when the shell knows the icon of the window and identifier: an empty change is accepted
// only for an icon it has.
bool ShellHasIcon(HWND window, UINT id);

// Keeps the window's picture, as it is on the screen, as the test artefact build/test-artefacts/<name>
// (a BMP) and prints its path.
void KeepScreenshot(HWND window, const std::u16string& name);

// Presses and releases a key combination as a user would, through the system's input queue.
void PressCombination(unsigned modifiers, unsigned key);

// Waits on another thread for a message box of this process with the given caption, remembers its
// text, icon style and buttons, and closes it with the answer (OK unless told otherwise).
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::u16string caption, int answer = IDOK);
    ~MessageBoxWatcher();
    bool Seen() const { return seen_; }
    const std::u16string& Text() const { return text_; }
    bool HasStopIcon() const { return stopIcon_; }
    bool HasInformationIcon() const { return informationIcon_; }
    // The identifiers of the buttons shown, in the order of the box's child windows, and that of the
    // default button.
    const std::vector<int>& Buttons() const { return buttons_; }
    int DefaultButton() const { return defaultButton_; }
    // Waits until the watcher has seen and closed the box.
    bool Wait(std::chrono::milliseconds timeout);

private:
    std::u16string caption_;
    std::u16string text_;
    bool stopIcon_ = false;
    bool informationIcon_ = false;
    std::vector<int> buttons_;
    int defaultButton_ = 0;
    int answer_ = IDOK;
    std::atomic<bool> seen_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace wintest
