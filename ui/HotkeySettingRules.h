// The hotkey editor frame's rules that need no window: the check before a save, the window state by
// name and the copy of the edits into the hotkey. Which parameter controls an action shows is
// ParameterFieldsFor (core/ActionRules.h), shared with the wizard.
#pragma once

#include <cstdint>
#include <string>

#include "core/ActionRules.h"
#include "core/Hotkeys.h"

namespace corvalend {

inline constexpr char16_t kHotkeyInUseText[] = u"The selected hotkey is already in use.";
inline constexpr char16_t kNoActionText[] = u"You must select an action for your hotkey.";
inline constexpr char16_t kDeleteHotkeyQuestion[] = u"Are you sure you want to delete this global hotkey?";
inline constexpr char16_t kParametersCaption[] = u"Parameters:";
inline constexpr char16_t kAdditionalParametersCaption[] = u"Additional parameters:";
// What screen readers call the window-state list, which has no label beside it.
inline constexpr char16_t kWindowStateName[] = u"Window state";
// What screen readers call the "..." button, which shows only dots.
inline constexpr char16_t kChooseParametersName[] = u"Choose parameters";

// What the editor holds: the values of its controls.
struct HotkeyEdits {
    bool Active = false;
    uint16_t Key = 0;
    int32_t Shift = 0;
    THotKeyFunc Func = hkfNoAction;  // hkfNoAction: no action selected
    std::u16string Params;
    std::u16string Params2;
    std::u16string Params3;
};

enum class HotkeyProblem { None, InUse, KeptByWindows, UsedByAnotherProgram, NoAction, BadDelay };

// The check before a save. Another active hotkey of `list` with the same key and modifiers makes
// the combination in use (the edited hotkey `self` is skipped; its own Active plays no part); then
// an active edit of a combination Windows never lets through, then one whose combination another
// program holds is refused (asked of `live`, the live hotkeys, so that the edited hotkey's own
// registration does not count); then an edit without an action, then a capture's delay that is not
// a whole number of seconds from 1 to 30, is refused. An inactive hotkey registers nothing and may
// keep any combination.
HotkeyProblem CheckHotkey(const THotkeyList& list,
                          const TGlobalHotKey* self,
                          const HotkeyEdits& edits,
                          const THotkeyList& live);
// The error text of a problem with the edited combination; empty for None.
std::u16string HotkeyProblemText(HotkeyProblem problem, uint16_t key = 0, int32_t shift = 0);

// What the view panel of a frame shows of a hotkey.
struct THotkeyView {
    bool Active = false;
    TModifierTicks Ticks{};  // in the order of kModifiers
    std::u16string Key;      // the key's name
    std::u16string Action;   // the action's caption
    std::u16string Params;
    std::u16string Params2;
    ParameterFields Shown{};  // which of the parameters show (params and params2 only)
    // The live hotkey's combination was refused by the system: the key is greyed and marked in use.
    bool Refused = false;
    bool UsedByWindows = false;  // and Windows keeps the combination: the mark says so
    bool operator==(const THotkeyView&) const = default;
};

// The view as a screen reader reads it: every text the panel shows, in reading order, the marks
// as words ("Active: yes. Shift key: CTRL, SHIFT. Key: F5. Action: Open file. Parameters: ..."); a
// refused key reads with its mark ("Key: F5 (in use).", "Key: E (used by Windows).").
std::u16string HotkeyViewReading(const THotkeyView& view);
// The key's text as the view shows it, with the mark of a refused hotkey.
std::u16string HotkeyViewKeyText(const THotkeyView& view);

// The caption of the first parameter: the delay's for a capture, `usual` for the others.
std::u16string ParametersCaption(const ParameterFields& shown, std::u16string_view usual);

// The index in `states` of the window state named `name` (any letter case); -1 when none is.
int WindowStateIndex(const TWindowStateList& states, std::u16string_view name);

// Copies the edits into a hotkey's data, parameters hidden by the action included. Line breaks in
// the one-line parameters (pasted text, say) are kept as their placeholders.
void CopyEdits(const HotkeyEdits& edits, THotKeyData& data);

}  // namespace corvalend
