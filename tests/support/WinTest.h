// Shared helpers of the Windows and end-to-end tests: scratch folders, waiting for a state while
// pumping messages, and watching for dialogs.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>
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

// How long a test waits for a state it needs before it fails. Generous, because a wait ends as soon
// as its state holds: only a failing test waits this long.
inline constexpr std::chrono::milliseconds kPatience{20000};

// Pumps this thread's messages until `ready` holds. When it does not within `limit`, the test fails
// with "waited 20 s in vain for <what>" and this returns false:
//
//     ASSERT_TRUE(wintest::WaitFor("the settings window", [&] { return (found = Find()) != nullptr; }));
bool WaitFor(std::string_view what, const std::function<bool()>& ready, std::chrono::milliseconds limit = kPatience);

// Pumps this thread's messages until the condition holds or the time is up (false then), without
// failing: for a wait whose end is an answer, as when a press is tried again.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// Handles every message that waits in this thread's queue now: what the test posted to its own
// windows has been handled when this returns.
void PumpPending();

// A top-level window of the process with the class and, when given, the caption; null when none.
// It sends no message to the windows, so any thread may look while the windows' own thread is busy.
HWND FindTopWindow(DWORD processId, const wchar_t* className, const std::u16string* caption = nullptr);

// A descendant of `parent` with the class (any letter case) and, when given, the text; null when
// none. Asks the windows for their texts: call it on their thread or while that thread pumps.
HWND FindChildWindow(HWND parent, const wchar_t* className, const wchar_t* text = nullptr);

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

// Makes the hotkey file empty, as a set-up program leaves it: a data module made without one shows
// the settings window modally, and one made with a file an earlier test left loads its hotkeys.
void EmptyHotkeyFile();

// Keeps the window's picture, as it is on the screen, as the test artefact build/test-artefacts/<name>
// (a BMP) and prints its path.
void KeepScreenshot(HWND window, const std::u16string& name);

// Presses and releases a key combination as a user would, through the system's input queue.
void PressCombination(unsigned modifiers, unsigned key);
// Moves the pointer, or presses or releases the left button there, as a user would; in screen pixels.
void MouseMoveTo(int x, int y);
void MouseButton(int x, int y, bool down);

// A thread of its own that takes something as another program would and holds it until the end,
// answering its windows' messages meanwhile. `hold` runs on it: it takes the thing, calls
// `holding(got)`, which returns at the end, and gives the thing back.
class HoldingThread {
public:
    using Holding = std::function<void(bool got)>;
    explicit HoldingThread(std::function<void(const Holding& holding)> hold);
    ~HoldingThread();
    HoldingThread(const HoldingThread&) = delete;
    HoldingThread& operator=(const HoldingThread&) = delete;

    // The thread holds it (false when the system refused it to the thread too).
    bool Held() const { return held_; }

private:
    bool held_ = false;
    HANDLE release_ = nullptr;
    std::thread thread_;
};

// A combination registered for no window by another thread (the system then refuses it to every
// other thread and window).
class HeldCombination : public HoldingThread {
public:
    HeldCombination(unsigned modifiers, unsigned key);
};

// The clipboard held open by another thread for a window of its own.
class HeldClipboard : public HoldingThread {
public:
    HeldClipboard();
};

// Waits on another thread for a message box of this process with the given caption, remembers its
// text, icon and buttons, and answers it (OK unless told otherwise) until it closes.
//
//     wintest::MessageBoxWatcher box(u"Confirm", IDYES);
//     SendMessageW(button, BM_CLICK, 0, 0);  // returns once the box was answered
//     ASSERT_TRUE(box.Wait(10s));
//     EXPECT_EQ(box.Text(), u"Are you sure?");
//
// The watching thread never waits for a window of this process (it reads the texts the system keeps
// instead of asking the windows), so the watcher may end at any time, whether it saw a box or not,
// without waiting for a thread that is busy itself. It gives up after `searchTime` without a box.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::u16string caption,
                               int answer = IDOK,
                               std::chrono::milliseconds searchTime = std::chrono::seconds(15));
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // The box was found (and is being or has been answered); what follows is known from then on.
    bool Seen() const { return seen_; }
    // The box was answered and has gone.
    bool Closed() const { return closed_; }
    const std::u16string& Text() const { return text_; }
    // The window the box belongs to (null when it has no owner).
    HWND Owner() const { return owner_; }
    // The icon the box shows (one of the system's shared icons), null when none.
    HICON Icon() const { return icon_; }
    bool HasStopIcon() const { return icon_ != nullptr && icon_ == LoadIconW(nullptr, IDI_HAND); }
    bool HasInformationIcon() const { return icon_ != nullptr && icon_ == LoadIconW(nullptr, IDI_INFORMATION); }
    // The identifiers of the buttons shown, in the order of the box's child windows, and that of the
    // default button.
    const std::vector<int>& Buttons() const { return buttons_; }
    int DefaultButton() const { return defaultButton_; }
    // Pumps this thread's messages until the box has been seen and closed; false when the time is up.
    bool Wait(std::chrono::milliseconds timeout);

private:
    void Watch(std::chrono::milliseconds searchTime);
    void ReadIcon(HWND box);
    void Remember(HWND box, std::u16string text);

    std::u16string caption_;
    int answer_ = IDOK;
    // Written by the watching thread before `seen_` is set, read after.
    std::u16string text_;
    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
    std::vector<int> buttons_;
    int defaultButton_ = 0;
    std::atomic<bool> seen_{false};
    std::atomic<bool> closed_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A timer of this thread that only counts its ticks: the barrier for "a timer stays quiet". The
// system hands out the messages of timers in the order they fall due, so once the witness has
// ticked for longer than the quiet timer's interval, that timer, had it run since before the
// witness started, would have ticked first.
//
//     wintest::WitnessTimer witness(std::chrono::milliseconds(20));
//     ASSERT_TRUE(witness.WaitTicks(3));  // a 20 ms timer that still ran would have ticked by now
class WitnessTimer {
public:
    explicit WitnessTimer(std::chrono::milliseconds interval);
    ~WitnessTimer();
    WitnessTimer(const WitnessTimer&) = delete;
    WitnessTimer& operator=(const WitnessTimer&) = delete;

    int Ticks() const { return ticks_; }
    // Pumps this thread's messages until the witness has ticked `count` times more (a failure
    // naming it when it does not within the patience).
    bool WaitTicks(int count);
    // The message is a tick of the witness: a count of the thread's timer messages leaves it out.
    bool Owns(const MSG& message) const;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR id_ = 0;
    int ticks_ = 0;
};

}  // namespace wintest
