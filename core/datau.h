// The data module: owns the live hotkeys, knows where the program keeps its data, offers at start to
// restore a damaged hotkey file from its backup, rebuilds the live hotkeys from the hotkey file
// whenever it changes, runs the hotkeys' actions and decides when the first-run windows and the
// capture windows open (through the interfaces of DataWindows.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/CaptureDelayRules.h"
#include "core/DataWindows.h"
#include "core/ElevationRules.h"
#include "core/Hotkeys.h"
#include "core/Notices.h"
#include "core/SystemHotkeys.h"
#include "core/SystemIntegrity.h"
#include "framework/CallbackList.h"
#include "framework/Timer.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"

namespace fw {
class Application;
}  // namespace fw

namespace corvalend {

enum TDataFileType { dftHotkeys, dftRegKey };

// The folder of a CSIDL, or "" when the system does not know it.
std::u16string GetSpecialFolder(int csidl);
// The hotkey file below the given application-data folder.
std::u16string HotkeyFileIn(const std::u16string& appDataFolder);

inline constexpr char16_t kProgramKey[] = u"Software\\Tamberlo\\Corvalend\\";
// The value, in the program's key, that is false ("0") once the first-use guide has been finished.
inline constexpr char16_t kFirstUseValue[] = u"FirstUse";

// The log-on entry: a string value in the current user's Run key holding the program file's path in
// double quotes when the program starts at log-on, and the empty text when not (it is never deleted).
inline constexpr char16_t kRunKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char16_t kRunValueName[] = u"Corvalend";
// True when the entry is there and not empty (also an entry from before the quotes, a bare path).
bool ReadStartAtLogOn();
// Writes the running program's full path in double quotes, so that the system cannot take a part of a
// path with spaces for another program, or the empty text.
void WriteStartAtLogOn(bool start);
// Removes the log-on entry when it starts this program file (not another copy's), as the program's
// removal does. True when it was removed.
bool ForgetStartAtLogOn();

class TData {
public:
    // Starts up at once: the first-run windows may show before this returns. An action on a window that
    // Windows keeps out of our reach (one run as administrator) is not run; `notices` (the tray icon's,
    // or none) tells the user why.
    // `hotkeyFile` is the one chosen at start (ProgramDataPlaces); empty, the one below the user's
    // application-data folder.
    TData(fw::Application& app,
          FirstRunWindows& firstRun,
          ScreenCaptures& captures,
          Notices* notices = nullptr,
          std::u16string hotkeyFile = {});
    ~TData();
    TData(const TData&) = delete;
    TData& operator=(const TData&) = delete;

    // Frees the live hotkeys, loads the active ones of the hotkey file and registers them; then the
    // first-use guide, while it is unfinished, and the hotkeys it wrote.
    void InitApp();
    void ClearHotKeyList();
    std::u16string DataFile(TDataFileType DataFileType) const;
    // Loads the hotkey file's hotkeys, the active ones only or all, into `list`: the live list, or
    // the own copy of a window that edits them. Without a file the list stays as it is.
    void LoadHotkeyFile(THotkeyList& list, bool OnlyActive) const;

    // A press of a live hotkey: runs its action. One action at a time: a press that arrives while
    // one runs (in the loop of its own message box, say) is dropped.
    void HotkeyPressed(int32_t Key, int32_t Shift);

    // Live hotkeys whose combination the system refused because another program held it are tried
    // again: here (when a window that shows them opens), at a timer while there are any, and when
    // the application window hears that the computer woke, the session was unlocked or reconnected,
    // or the taskbar was made again. When one is taken the refused-listeners hear of it.
    void RetryRefusedHotkeys();
    // True when the live hotkey with this combination is there and refused by the system.
    bool HotkeyRefused(int32_t Key, int32_t Shift) const;
    // Listeners are called, while their subscription lives, whenever which live hotkeys are refused
    // may have changed (a reload, a retry that took one): the windows that mark refused hotkeys show
    // the new state.
    [[nodiscard]] fw::Subscription AddRefusedListener(std::function<void()> listener) {
        return refusedListeners_.Add(std::move(listener));
    }
    // While paused only the hotkeys that pause or resume are registered; a reload (a save in the
    // settings window) keeps the pause. Resuming registers the others again. Not kept across a
    // restart. The pause-listeners hear of every change.
    bool Paused() const { return paused_; }
    void SetPaused(bool paused);
    [[nodiscard]] fw::Subscription AddPauseListener(std::function<void()> listener) {
        return pauseListeners_.Add(std::move(listener));
    }

    // The retry timer's period; tests make it short.
    void SetRetryPeriod(uint32_t milliseconds) { retryTimer_.period = milliseconds; }
    bool RetryTimerRunning() const { return retry_.TimerRunning(); }

    // Actions on the foreground window and the system.
    void DoMaximize();
    void DoMinimize();
    void DoClose();
    void DoExitWindows();
    // Actions with the hotkey's parameters.
    void DoSendKeys(const std::u16string& Text);
    void DoOpenWebsite(const std::u16string& Address);
    void DoOpenFile(const std::u16string& FileName,
                    const std::u16string& Parameters,
                    const std::u16string& WindowState,
                    const std::u16string& Verb);
    void DoPlaceInClipboard(const std::u16string& Text);
    void DoPlaceFileContentInClipboard(const std::u16string& FileName);
    // Captures the foreground window (or the whole primary screen) into a new capture window.
    void DoCapture(bool ActiveWindowOnly);

    // Shared helpers of the windows.
    std::u16string HotkeyToString(uint16_t Key, uint16_t Shift) const;
    std::u16string FormatVersion(uint32_t Version) const;
    // The program file's version as a number (1.20.1.0 -> 1200100); 0 without version information.
    static uint32_t GetFileVersion(const std::u16string& Filename);

    THotkeyList& HotKeyList() { return *HotKeyList_; }
    // What an editing copy of the hotkeys needs: the same files, but never registered.
    const HotkeySystem& HotkeyServices() const { return system_; }
    fw::Application& App() const { return app_; }

private:
    void DataModuleCreate();
    void DataModuleDestroy();
    void RestoreDamagedHotkeyFile();
    // Frees the live hotkeys, loads the active ones of the hotkey file and registers them.
    void LoadLiveHotkeys();
    // First-run checks: the first-use guide after every load until it has been finished once, and
    // the settings window at start-up while there is no hotkey file.
    void FirstUseCheck();
    void MissingFileCheck();

    void RunAction(const THotKeyData& hotkey);
    // A capture hotkey: at once, or after the delay in its parameter, counted down in the tray's tip
    // while the other hotkeys work on; its second press meanwhile cancels it.
    void StartCapture(const THotKeyData& hotkey);
    void CaptureCountdownTick();
    // The application window's messages (by number, with their wParam) that may free a refused
    // combination.
    void MainWindowMessage(uint32_t message, uint64_t wParam);
    void RefusedChanged();
    void RegisterSessionNotification(bool on) noexcept;

    // The retry timer: a toolkit timer at the retry period.
    struct TimerRetry final : RetryTimer {
        explicit TimerRetry(TData& data) : timer([&data] { data.RetryRefusedHotkeys(); }) {}
        void Start() override { timer.Start(period); }
        void Stop() override { timer.Stop(); }
        fw::Timer timer;
        uint32_t period = kRetryPeriodMs;
    };

    // The delayed captures' timer: a toolkit timer, started anew at each wake.
    struct TimerCountdown final : CountdownTimer {
        explicit TimerCountdown(TData& data) : timer([&data] { data.CaptureCountdownTick(); }) {}
        void Start(uint32_t milliseconds) override { timer.Start(milliseconds); }
        void Stop() override { timer.Stop(); }
        fw::Timer timer;
    };

    fw::Application& app_;
    FirstRunWindows& firstRun_;
    ScreenCaptures& captures_;
    bool sessionNotification_ = false;
    fw::CallbackList<void()> refusedListeners_;
    bool actionRunning_ = false;
    bool paused_ = false;
    fw::CallbackList<void()> pauseListeners_;
    SystemIntegrity integrity_;
    ForegroundGuard foregroundGuard_{integrity_, SystemIntegrity::Now};
    SystemHotkeys registrar_;
    fw::Win32FileStore files_;
    fw::SystemAnsiCodePage ansi_;
    HotkeySystem system_;
    TimerRetry retryTimer_;
    THotkeyRetry retry_{retryTimer_};
    std::unique_ptr<THotkeyList> HotKeyList_;
    TimerCountdown countdownTimer_{*this};
    CaptureCountdowns countdowns_;
    fw::Subscription mainWindowHook_;
    std::u16string hotkeyFile_;
};

// The one data module, null before start-up creates it and after exit destroys it. The module
// sets it as soon as it exists, before its start-up shows any window.
extern TData* Data;

}  // namespace corvalend
