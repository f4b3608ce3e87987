// The hotkey model: the catalogue of actions, one hotkey's settings, the owning list with the
// hotkey file's reading and writing, and registration of combinations with the system.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/FileStore.h"
#include "framework/ItemList.h"
#include "framework/TextFile.h"

namespace corvalend {

// ---- Action catalogue ----

enum THotKeyFunc : uint8_t {
    hkfNoAction,
    hkfMaximize,
    hkfMinimize,
    hkfClose,
    hkfOpenFile,
    hkfCaptureWindow,
    hkfCaptureScreen,
    hkfExitWindows,
    hkfSendKeys,
    hkfOpenWebsite,
    hkfPlaceInClipboard,
    hkfPlaceFileContentInClipboard,
    hkfOpenFileAdmin,
    hkfPauseHotkeys,  // after the others: the stored ordinals and names stay as they were
};

constexpr int kHotKeyFuncCount = 14;

THotKeyFunc StrToHotKeyFunc(std::u16string_view name);
std::u16string HotKeyFuncToStr(THotKeyFunc func);
std::u16string HotKeyFuncToCaption(THotKeyFunc func);

// The order in which actions are offered to the user (not the ordinal order).
extern const THotKeyFunc kHotKeyFuncMenuOrder[13];
void FillHotKeyFuncs(fw::ItemList& list);

// Window states of the open-file actions: name (stored in Params3) and caption.
using TWindowStateList = std::vector<std::pair<std::u16string, std::u16string>>;
TWindowStateList WindowStateList(THotKeyFunc func);
void FillWindowStates(fw::ItemList& list, THotKeyFunc func);

bool HotKeyFuncHasParams(THotKeyFunc func);
bool HotKeyFuncBrowsesFile(THotKeyFunc func);
bool HotKeyFuncEditsText(THotKeyFunc func);
bool HotKeyFuncHasParams2(THotKeyFunc func);
bool HotKeyFuncHasParams3(THotKeyFunc func);

// Line breaks and tabs of one-line values are kept as these tokens.
inline constexpr std::u16string_view kPlaceholderCR = u"<?CR?>";
inline constexpr std::u16string_view kPlaceholderLF = u"<?LF?>";
inline constexpr std::u16string_view kPlaceholderTab = u"<?TAB?>";

// Carriage returns and line feeds as their placeholders, so that the text fits on one line.
std::u16string EncodeLineBreaks(std::u16string_view text);

// ---- Hotkeys ----

// Modifier bits, the system's own hotkey modifiers.
enum : int32_t { kModAlt = 1, kModCtrl = 2, kModShift = 4, kModWin = 8 };

// Everything about the modifiers, in the order in which a hotkey's text names them: the bit that
// the hotkey file and the registration carry, and the text in front of the key. The editing
// windows read and set their modifier boxes in this order too.
struct TModifier {
    int32_t bit;
    std::u16string_view prefix;
};
inline constexpr std::array<TModifier, 4> kModifiers{{
    {.bit = kModAlt, .prefix = u"ALT + "},
    {.bit = kModCtrl, .prefix = u"CTRL + "},
    {.bit = kModShift, .prefix = u"SHIFT + "},
    {.bit = kModWin, .prefix = u"WIN + "},
}};

// One flag per modifier, in the order of kModifiers (ticked boxes, say).
using TModifierTicks = std::array<bool, kModifiers.size()>;

// The modifier bits of the ticked modifiers, and back; other bits are ignored.
constexpr int32_t ShiftStateOf(const TModifierTicks& ticks) {
    int32_t shift = 0;
    for (size_t i = 0; i < kModifiers.size(); ++i) {
        if (ticks[i]) shift |= kModifiers[i].bit;
    }
    return shift;
}
constexpr TModifierTicks ModifierTicksOf(int32_t shift) {
    TModifierTicks ticks{};
    for (size_t i = 0; i < kModifiers.size(); ++i) ticks[i] = (shift & kModifiers[i].bit) != 0;
    return ticks;
}

struct THotKeyData {
    bool Active = false;
    int32_t Key = 0;
    int32_t Shift = 0;
    THotKeyFunc Func = hkfNoAction;
    std::u16string Params;
    std::u16string Params2;
    std::u16string Params3;
};

// What registration needs from the system: global atoms as identifiers and system-wide hotkeys
// for the application's own window.
class HotkeyRegistrar {
public:
    virtual ~HotkeyRegistrar() = default;
    virtual uint16_t AddAtomName(const std::u16string& name) = 0;  // 0 on failure
    virtual void DeleteAtom(uint16_t atom) = 0;
    virtual bool RegisterHotKey(uint16_t id, uint32_t modifiers, uint32_t key) = 0;
    virtual bool UnregisterHotKey(uint16_t id) = 0;
    // Registers the combination for no window and releases it at once: false when the system
    // refuses it because it is held already (by this program too).
    virtual bool CombinationFree(uint32_t modifiers, uint32_t key) = 0;
};

// Everything a hotkey list needs from the system.
struct HotkeySystem {
    HotkeyRegistrar& registrar;
    fw::FileStore& files;
    const fw::AnsiCodePage& ansi;
};

class TGlobalHotKey;
using THotkeyStorage = std::vector<std::unique_ptr<TGlobalHotKey>>;

class TGlobalHotKey {
public:
    explicit TGlobalHotKey(HotkeyRegistrar& registrar) : registrar_(registrar) {}
    virtual ~TGlobalHotKey();
    TGlobalHotKey(const TGlobalHotKey&) = delete;
    TGlobalHotKey& operator=(const TGlobalHotKey&) = delete;

    // Registers Key with the Shift modifiers under the atom "corvalend-<Key>-<Shift>". When the
    // system refuses the combination the atom is given back at once, Atom stays 0 and Refused()
    // tells so. An item that is registered already is left as it is.
    void RegisterHotkey();
    // Withdraws the registration; when the system refuses, Atom and its reference stay. An item the
    // system had refused is no longer marked refused: it is simply not registered.
    void UnregisterHotkey();

    uint16_t Atom() const { return atom_; }
    bool Refused() const { return refused_; }

    THotKeyData HotKeyData;
    const THotkeyStorage* KeyList = nullptr;

private:
    HotkeyRegistrar& registrar_;
    uint16_t atom_ = 0;
    bool refused_ = false;
};

std::u16string HotkeyAtomName(int32_t key, int32_t shift);

inline constexpr char16_t kUsedByAnotherProgramText[] = u"The selected hotkey is used by another program.";

class THotkeyList {
public:
    explicit THotkeyList(const HotkeySystem& system) : system_(system) {}
    ~THotkeyList();
    THotkeyList(const THotkeyList&) = delete;
    THotkeyList& operator=(const THotkeyList&) = delete;

    TGlobalHotKey* Add(bool AActive,
                       int32_t AKey,
                       int32_t AShift,
                       THotKeyFunc AFunc,
                       std::u16string AParams,
                       std::u16string AParams2,
                       std::u16string AParams3);
    void Delete(int Index);  // raises "List index out of bounds (%d)"
    void Clear();
    int IndexOf(const TGlobalHotKey* Item) const;
    TGlobalHotKey* FindHotKey(int32_t Key, int32_t Shift) const;
    TGlobalHotKey* GetItem(int Index) const;  // raises "List index out of bounds (%d)"
    int Count() const { return static_cast<int>(FList.size()); }

    // Replaces the list with the hotkeys of the file; a missing file holds none. Sections with an
    // unknown action are dropped, and so are inactive ones when OnlyActive is set.
    void LoadFromFile(const std::u16string& Filename, bool OnlyActive);
    // Replaces the file with the list: UTF-16 LE with BOM, sections key0, key1, ... The file it
    // replaces is kept beside it with ".bak" added to its name, unless it holds no hotkeys while
    // that backup does (SaveLeavesBackupAlone).
    void SaveToFile(const std::u16string& Filename) const;
    // The bytes SaveToFile writes: an exported copy reads back as the hotkey file does.
    std::string FileBytes() const;

    void RegisterKeys();
    void UnregisterKeys();

    // True when the item's combination was refused by the system for another program, not because
    // another item of this list holds it (twins in a hand-written file): trying again can take it.
    bool RefusedForOther(int Index) const;
    // For the live list: true when a program other than this one holds the combination, that is
    // when no registered hotkey of the list holds it and the system refuses it all the same.
    bool HeldByAnotherProgram(int32_t Key, int32_t Shift) const;

private:
    // Whether a registered hotkey of this list holds the combination.
    bool HeldByUs(int32_t Key, int32_t Shift) const;

    HotkeySystem system_;
    THotkeyStorage FList;
};

// Refused hotkeys are tried again every kRetryPeriodMs while there are any, and at the moments
// another program is likely to have let its combinations go (waking, unlocking, the popup opening).
inline constexpr uint32_t kRetryPeriodMs = 60000;

// A repeating timer at the retry period.
class RetryTimer {
public:
    virtual ~RetryTimer() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

// Decides which hotkeys are tried again and whether the retry timer runs: only while a hotkey is
// refused for another program, so that a program without refused hotkeys never wakes up.
class THotkeyRetry {
public:
    explicit THotkeyRetry(RetryTimer& timer) : timer_(timer) {}
    THotkeyRetry(const THotkeyRetry&) = delete;
    THotkeyRetry& operator=(const THotkeyRetry&) = delete;

    // After the list was registered: starts or stops the timer as the list needs it.
    void UpdateTimer(const THotkeyList& list);
    // Registers the hotkeys refused for another program again, then updates the timer; true when
    // the system took one of them.
    bool Retry(THotkeyList& list);
    bool TimerRunning() const { return running_; }

private:
    RetryTimer& timer_;
    bool running_ = false;
};

}  // namespace corvalend
