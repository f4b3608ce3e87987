// What the data module asks of the program's windows. The data module decides when a window opens
// (the first-run checks at start-up and after a reload, a capture hotkey); the windows' own units
// know how, and the program's start hands them to it.
#pragma once

#include "core/HotkeyFileRules.h"
#include "framework/Picture.h"

namespace corvalend {

class TData;

// The windows of a first run.
class FirstRunWindows {
public:
    virtual ~FirstRunWindows() = default;
    // Shows the first-use guide modally and returns once it is gone; nothing while one is open.
    // True when the guide wrote the hotkey file (Finish, or "&Setup more hotkeys").
    virtual bool ShowFirstUseGuide(TData& data) = 0;
    // There is no hotkey file: shows the settings window modally (the one the tray opened, when
    // it is open) and returns once it is gone. Meanwhile the tray icon ignores the mouse and the
    // program's other windows are hidden.
    virtual void ShowSettingsForMissingFile(TData& data) = 0;
    // The offer, at start, to put back the backup of a hotkey file that holds nothing readable.
    virtual RestoreQuestion& BackupRestoreQuestion() = 0;
};

// The capture windows.
class ScreenCaptures {
public:
    virtual ~ScreenCaptures() = default;
    // The pixels of the foreground window (activeWindowOnly) or of the monitor that holds the pointer.
    virtual fw::Picture Take(bool activeWindowOnly) = 0;
    // Opens a new capture window with the picture, in front and active, and returns at once.
    virtual void Show(fw::Picture picture) = 0;
};

}  // namespace corvalend
