#include "core/datau.h"

#include <shlobj.h>

#include "framework/WinText.h"

TData* Data = nullptr;

std::u16string GetSpecialFolder(int csidl) {
    wchar_t path[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(/*owner=*/nullptr, path, csidl, /*create=*/FALSE)) return u"";
    return fw::FromW(path);
}

std::u16string HotkeyFileIn(const std::u16string& appDataFolder) {
    std::u16string path = appDataFolder;
    if (path.empty() || path.back() != u'\\') path += u'\\';
    return path + u"Tamberlo\\Corvalend\\Data\\hotkeys.ini";
}

TData::TData(fw::Application& app) : app_(app), registrar_(app.Handle()), system_{registrar_, files_, ansi_} {
    try {
        DataModuleCreate();
    } catch (...) {
        // The program goes on to its message loop with what was loaded so far.
        app_.HandleException();
    }
}

TData::~TData() {
    DataModuleDestroy();
}

void TData::DataModuleCreate() {
    HotKeyList_ = std::make_unique<THotkeyList>(system_);
    fw::ForceDirectories(fw::ExtractFileDir(DataFile(dftHotkeys)));  // a failure shows later, when saving
    InitApp();
    MissingFileCheck();
}

void TData::DataModuleDestroy() {
    HotKeyList_.reset();  // every hotkey withdrawn, every atom given back
}

void TData::InitApp() {
    ClearHotKeyList();
    const std::u16string file = DataFile(dftHotkeys);
    if (files_.Exists(file)) {
        HotKeyList_->LoadFromFile(file, /*OnlyActive=*/true);
        HotKeyList_->RegisterKeys();
    }
    FirstUseCheck();
}

void TData::ClearHotKeyList() {
    HotKeyList_->Clear();
}

std::u16string TData::DataFile(TDataFileType DataFileType) const {
    return DataFileType == dftHotkeys ? HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA)) : kProgramKey;
}

void TData::FirstUseCheck() {}

void TData::MissingFileCheck() {}
