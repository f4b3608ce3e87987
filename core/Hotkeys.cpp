// The action catalogue, the hotkey file's reading and writing, and the hotkey list's registration.
#include "core/Hotkeys.h"

#include <algorithm>
#include <string_view>

#include "core/HotkeyFileRules.h"
#include "framework/Error.h"
#include "framework/IniFile.h"
#include "framework/Text.h"

namespace corvalend {

namespace {

struct FuncInfo {
    std::u16string_view name;
    std::u16string_view caption;
};

// Indexed by ordinal. The stored names are part of the hotkey file and the registry: never change them.
constexpr FuncInfo kFuncs[kHotKeyFuncCount] = {
    {u"", u"Unknown action"},
    {u"maximize", u"Maximize active window"},
    {u"minimize", u"Minimize active window"},
    {u"close", u"Close active window"},
    {u"openfile", u"Open file"},
    {u"capturewindow", u"Capture active window"},
    {u"capturescreen", u"Capture screen"},
    {u"exitwindows", u"Exit windows"},
    {u"sendkeystrokes", u"Send keystrokes"},
    {u"openwebsite", u"Open website"},
    {u"placeinclipboard", u"Place in clipboard"},
    {u"placefilecontentinclipboard", u"Place file content in clipboard"},
    {u"openfileadmin", u"Open file as administrator"},
    {u"pausehotkeys", u"Pause or resume hotkeys"},
};

bool IsOneOf(THotKeyFunc func, std::initializer_list<THotKeyFunc> set) {
    return std::find(set.begin(), set.end(), func) != set.end();
}

// Keeps a value on its one line: a line break would start new keys or sections on reading.
void WriteOneLine(fw::IniWriter& ini, std::u16string_view key, std::u16string_view value) {
    if (value.find_first_of(u"\r\n") == std::u16string_view::npos) {
        ini.Value(key, value);
    } else {
        ini.Value(key, EncodeLineBreaks(value));
    }
}

}  // namespace

std::u16string EncodeLineBreaks(std::u16string_view text) {
    return fw::ReplaceAll(fw::ReplaceAll(text, u"\r", kPlaceholderCR), u"\n", kPlaceholderLF);
}

const THotKeyFunc kHotKeyFuncMenuOrder[13] = {
    hkfMaximize,
    hkfMinimize,
    hkfClose,
    hkfOpenFile,
    hkfOpenFileAdmin,
    hkfOpenWebsite,
    hkfPlaceInClipboard,
    hkfPlaceFileContentInClipboard,
    hkfCaptureWindow,
    hkfCaptureScreen,
    hkfExitWindows,
    hkfSendKeys,
    hkfPauseHotkeys,
};

THotKeyFunc StrToHotKeyFunc(std::u16string_view name) {
    for (int f = hkfMaximize; f < kHotKeyFuncCount; ++f) {
        if (kFuncs[f].name == name) return static_cast<THotKeyFunc>(f);
    }
    return hkfNoAction;
}

std::u16string HotKeyFuncToStr(THotKeyFunc func) {
    return func < kHotKeyFuncCount ? std::u16string(kFuncs[func].name) : std::u16string();
}

std::u16string HotKeyFuncToCaption(THotKeyFunc func) {
    return std::u16string(kFuncs[func < kHotKeyFuncCount ? func : hkfNoAction].caption);
}

void FillHotKeyFuncs(fw::ItemList& list) {
    for (THotKeyFunc f : kHotKeyFuncMenuOrder) list.AddItem(HotKeyFuncToCaption(f), f);
}

TWindowStateList WindowStateList(THotKeyFunc /*func: every action gets the same list*/) {
    return {
        {u"NORMAL", u"Normal window"},
        {u"MAXIMIZED", u"Maximized window"},
        {u"MINIMIZED", u"Minimized window"},
    };
}

void FillWindowStates(fw::ItemList& list, THotKeyFunc func) {
    list.Clear();
    for (const auto& [name, caption] : WindowStateList(func)) list.AddItem(caption, 0);
}

bool HotKeyFuncHasParams(THotKeyFunc func) {
    return IsOneOf(func, {hkfOpenFile, hkfSendKeys, hkfOpenWebsite, hkfPlaceInClipboard, hkfPlaceFileContentInClipboard,
                          hkfOpenFileAdmin});
}

bool HotKeyFuncBrowsesFile(THotKeyFunc func) {
    return IsOneOf(func, {hkfOpenFile, hkfPlaceFileContentInClipboard, hkfOpenFileAdmin});
}

bool HotKeyFuncEditsText(THotKeyFunc func) {
    return func == hkfSendKeys;
}

bool HotKeyFuncHasParams2(THotKeyFunc func) {
    return IsOneOf(func, {hkfOpenFile, hkfOpenFileAdmin});
}

bool HotKeyFuncHasParams3(THotKeyFunc func) {
    return IsOneOf(func, {hkfOpenFile, hkfOpenFileAdmin});
}

// ---- TGlobalHotKey ----

std::u16string HotkeyAtomName(int32_t key, int32_t shift) {
    return u"corvalend-" + fw::IntToStr(key) + u"-" + fw::IntToStr(shift);
}

TGlobalHotKey::~TGlobalHotKey() {
    UnregisterHotkey();
}

void TGlobalHotKey::RegisterHotkey() {
    if (atom_ != 0) return;  // a second registration would only take another atom reference
    const uint16_t atom = registrar_.AddAtomName(HotkeyAtomName(HotKeyData.Key, HotKeyData.Shift));
    if (atom == 0) return;
    refused_ = !registrar_.RegisterHotKey(atom, static_cast<uint32_t>(HotKeyData.Shift),
                                          static_cast<uint32_t>(HotKeyData.Key));
    if (refused_) {
        registrar_.DeleteAtom(atom);
    } else {
        atom_ = atom;
    }
}

void TGlobalHotKey::UnregisterHotkey() {
    if (atom_ == 0) refused_ = false;
    if (atom_ == 0 || !registrar_.UnregisterHotKey(atom_)) return;
    registrar_.DeleteAtom(atom_);
    atom_ = 0;
}

// ---- THotkeyList ----

THotkeyList::~THotkeyList() {
    Clear();
}

TGlobalHotKey* THotkeyList::Add(bool AActive,
                                int32_t AKey,
                                int32_t AShift,
                                THotKeyFunc AFunc,
                                std::u16string AParams,
                                std::u16string AParams2,
                                std::u16string AParams3) {
    auto item = std::make_unique<TGlobalHotKey>(system_.registrar);
    item->KeyList = &FList;
    item->HotKeyData = {AActive, AKey, AShift, AFunc, std::move(AParams), std::move(AParams2), std::move(AParams3)};
    FList.push_back(std::move(item));
    return FList.back().get();
}

void THotkeyList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) fw::ThrowListIndexError(Index);
    FList.erase(FList.begin() + Index);
}

void THotkeyList::Clear() {
    for (auto& item : FList) item.reset();  // in index order, each withdrawing its registration
    FList.clear();
}

int THotkeyList::IndexOf(const TGlobalHotKey* Item) const {
    for (int i = 0; i < Count(); ++i) {
        if (FList[i].get() == Item) return i;
    }
    return -1;
}

TGlobalHotKey* THotkeyList::FindHotKey(int32_t Key, int32_t Shift) const {
    for (const auto& item : FList) {
        if (item->HotKeyData.Key == Key && item->HotKeyData.Shift == Shift) return item.get();
    }
    return nullptr;
}

TGlobalHotKey* THotkeyList::GetItem(int Index) const {
    if (Index < 0 || Index >= Count()) fw::ThrowListIndexError(Index);
    return FList[Index].get();
}

void THotkeyList::LoadFromFile(const std::u16string& Filename, bool OnlyActive) {
    Clear();
    const auto bytes = system_.files.Read(Filename);
    if (!bytes) return;
    const fw::IniModel ini = fw::IniModel::Parse(fw::DecodeText(*bytes, system_.ansi));
    for (size_t section = 0; section < ini.SectionCount(); ++section) {
        const THotKeyFunc func = SectionAction(ini, section);
        const bool active = ini.ReadBool(section, u"active", false);
        if (func == hkfNoAction || (OnlyActive && !active)) continue;
        Add(active, ini.ReadInteger(section, u"key", 0), ini.ReadInteger(section, u"shift", 0), func,
            ini.ReadString(section, u"params", u""), ini.ReadString(section, u"params2", u""),
            ini.ReadString(section, u"params3", u""));
    }
}

std::string THotkeyList::FileBytes() const {
    fw::IniWriter ini;
    size_t size = 0;
    for (const auto& item : FList) {
        const THotKeyData& hotkey = item->HotKeyData;
        size += 120 + hotkey.Params.size() + hotkey.Params2.size() + hotkey.Params3.size();
    }
    ini.Reserve(size);
    for (int i = 0; i < Count(); ++i) {
        const THotKeyData& hotkey = FList[i]->HotKeyData;
        ini.Section(u"key" + fw::IntToStr(i));
        ini.Bool(u"active", hotkey.Active);
        ini.Integer(u"key", hotkey.Key);
        ini.Integer(u"shift", hotkey.Shift);
        ini.Value(u"func", HotKeyFuncToStr(hotkey.Func));
        WriteOneLine(ini, u"params", hotkey.Params);
        WriteOneLine(ini, u"params2", hotkey.Params2);
        WriteOneLine(ini, u"params3", hotkey.Params3);
    }
    return fw::EncodeUtf16LE(ini.Finish(), /*withBom=*/true);
}

void THotkeyList::SaveToFile(const std::u16string& Filename) const {
    const std::string bytes = FileBytes();
    const std::u16string backup = Filename + kBackupSuffix;
    // The backup may be the last good copy: a file with no hotkeys never takes its place.
    if (SaveLeavesBackupAlone(Filename, backup, system_.files, system_.ansi)) {
        system_.files.Replace(Filename, bytes);
    } else {
        system_.files.ReplaceKeepingBackup(Filename, bytes, backup);
    }
}

void THotkeyList::RegisterKeys() {
    for (auto& item : FList) item->RegisterHotkey();
}

void THotkeyList::UnregisterKeys() {
    for (auto& item : FList) item->UnregisterHotkey();
}

bool THotkeyList::HeldByUs(int32_t Key, int32_t Shift) const {
    return std::any_of(FList.begin(), FList.end(), [&](const auto& item) {
        return item->Atom() != 0 && item->HotKeyData.Key == Key && item->HotKeyData.Shift == Shift;
    });
}

bool THotkeyList::RefusedForOther(int Index) const {
    const TGlobalHotKey& item = *GetItem(Index);
    return item.Refused() && !HeldByUs(item.HotKeyData.Key, item.HotKeyData.Shift);
}

// ---- THotkeyRetry ----

void THotkeyRetry::UpdateTimer(const THotkeyList& list) {
    bool refused = false;
    for (int i = 0; i < list.Count() && !refused; ++i) refused = list.RefusedForOther(i);
    if (refused == running_) return;
    running_ = refused;
    if (refused) {
        timer_.Start();
    } else {
        timer_.Stop();
    }
}

bool THotkeyRetry::Retry(THotkeyList& list) {
    bool taken = false;
    for (int i = 0; i < list.Count(); ++i) {
        if (!list.RefusedForOther(i)) continue;
        TGlobalHotKey& item = *list.GetItem(i);
        item.RegisterHotkey();
        taken = taken || !item.Refused();
    }
    UpdateTimer(list);
    return taken;
}

bool THotkeyList::HeldByAnotherProgram(int32_t Key, int32_t Shift) const {
    return !HeldByUs(Key, Shift) &&
           !system_.registrar.CombinationFree(static_cast<uint32_t>(Shift), static_cast<uint32_t>(Key));
}

}  // namespace corvalend
