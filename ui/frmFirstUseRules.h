// The rules of the first-use guide that need no window: its four suggested hotkeys, when a hotkey
// of the file counts as one of them, how the ticked suggestions are merged into the hotkeys, and
// which suggestion boxes a list of hotkeys ticks.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/Hotkeys.h"

namespace corvalend {

// The guide's suggestions, in the order of their boxes and of the file they are written to.
enum TSuggestion { sgMinimize, sgMaximize, sgScreenCapture, sgOpenNotepad };
inline constexpr int kSuggestionCount = 4;

struct TSuggestedHotkey {
    int32_t Key;
    THotKeyFunc Func;
    std::u16string_view Params;  // when not empty, a hotkey must have it too (in small letters)
};

// Every suggestion is a WIN combination.
inline constexpr int32_t kSuggestionShift = kModWin;

inline constexpr std::array<TSuggestedHotkey, kSuggestionCount> kSuggestions{{
    {111, hkfMinimize, u""},  // the keypad's slash key
    {106, hkfMaximize, u""},  // the keypad's asterisk key
    {'S', hkfCaptureScreen, u""},
    {'N', hkfOpenFile, u"notepad.exe"},
}};

// One flag per suggestion, in TSuggestion order.
using TSuggestionTicks = std::array<bool, kSuggestionCount>;

// The hotkey of the list that is the suggestion: the first one with its key and exactly the WIN
// modifier, when its action is the suggestion's (and, for the notepad suggestion, its Params in
// small letters are "notepad.exe"); null when that first one is something else or there is none.
TGlobalHotKey* FindSuggestion(const THotkeyList& hotkeys, TSuggestion suggestion);

// For each suggestion in order: the hotkey that is the suggestion is taken out of the list, and a
// fresh active one is appended when its box is ticked. Every other hotkey stays where it is.
void MergeSuggestions(THotkeyList& hotkeys, const TSuggestionTicks& ticked);

// A box is ticked exactly when the list holds the suggestion as an active hotkey.
TSuggestionTicks SuggestionTicks(const THotkeyList& hotkeys);

// What follows the caption of a suggestion that another program holds (kUsedByWindowsMark when
// Windows keeps it); its box starts unticked.
inline constexpr char16_t kUsedByAnotherProgramMark[] = u" (used by another program)";
// The suggestions another program holds, asked of `live`, the live hotkeys (a suggestion this
// program holds already is not another program's).
TSuggestionTicks SuggestionsHeldByOthers(const THotkeyList& live);

}  // namespace corvalend
