// The data module: owns the live hotkeys, knows where the program keeps its data, and rebuilds the
// live hotkeys from the hotkey file whenever it changes.
#pragma once

#include <memory>
#include <string>

#include "core/Hotkeys.h"
#include "core/SystemHotkeys.h"
#include "framework/Application.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"

enum TDataFileType { dftHotkeys, dftRegKey };

// The folder of a CSIDL, or "" when the system does not know it.
std::u16string GetSpecialFolder(int csidl);
// The hotkey file below the given application-data folder.
std::u16string HotkeyFileIn(const std::u16string& appDataFolder);

inline constexpr char16_t kProgramKey[] = u"Software\\Tamberlo\\Corvalend\\";

class TData {
public:
    explicit TData(fw::Application& app);
    ~TData();
    TData(const TData&) = delete;
    TData& operator=(const TData&) = delete;

    // Frees the live hotkeys, loads the active ones of the hotkey file and registers them.
    void InitApp();
    void ClearHotKeyList();
    std::u16string DataFile(TDataFileType DataFileType) const;

    THotkeyList& HotKeyList() { return *HotKeyList_; }
    // What an editing copy of the hotkeys needs: the same files, but never registered.
    const HotkeySystem& System() const { return system_; }
    fw::Application& App() const { return app_; }

private:
    void DataModuleCreate();
    void DataModuleDestroy();
    // First-run checks: the first-use guide after every load, and the settings window at start-up
    // while there is no hotkey file. They come with the guide and the settings window.
    void FirstUseCheck();
    void MissingFileCheck();

    fw::Application& app_;
    SystemHotkeys registrar_;
    fw::Win32FileStore files_;
    fw::SystemAnsiCodePage ansi_;
    HotkeySystem system_;
    std::unique_ptr<THotkeyList> HotKeyList_;
};

// The one data module, null before start-up creates it and after exit destroys it.
extern TData* Data;
