// The rules of the new-hotkey wizard that need no window: the readers' arithmetic, the checks of its
// pages with their messages, and the hotkey Finish appends. Which parameter fields an action shows
// is ParameterFieldsFor (core/ActionRules.h), shared with the editor frame.
#pragma once

#include <cstdint>
#include <string>

#include "core/ActionRules.h"
#include "core/Hotkeys.h"

namespace corvalend {

// A page of the wizard to check; All checks every page.
enum class TWizardPage { Key, Action, All };

inline constexpr char16_t kMsgNoKey[] = u"You must select a key for your hotkey.";
inline constexpr char16_t kMsgNoShiftKey[] = u"You must select a shift key for your hotkey.";
inline constexpr char16_t kMsgHotkeyInUse[] = u"The selected hotkey is already in use.";
inline constexpr char16_t kMsgNoAction[] = u"You must select an action for the hotkey.";
// The parameters' caption on the action page, and the delay's in its place for a capture.
inline constexpr char16_t kWizardParametersCaption[] = u"Pa&rameters:";
inline constexpr char16_t kWizardDelayCaption[] = u"&Delay in seconds";

// True when an active hotkey of the list has this key (as 16 bits) and exactly these modifiers.
bool HotkeyInUse(const THotkeyList& list, uint16_t key, int32_t shift);

// What the user entered, as far as the checks need it.
struct TWizardEntry {
    uint16_t key = 0;  // 0: no key
    int32_t shift = 0;
    bool actionSelected = false;
    THotKeyFunc func = hkfNoAction;
    std::u16string params;  // the first parameter's field
};

// The message of the first failing check of `page` (the key page's checks first), or "" when the
// page is valid. The key page's last checks refuse a combination Windows never lets through, then
// ask `live`, the live hotkeys, whether another program holds the combination. The action page also
// refuses a capture's delay that is not a whole number of seconds from 1 to 30.
std::u16string ValidateWizardPage(TWizardPage page,
                                  const TWizardEntry& entry,
                                  const THotkeyList& hotkeys,
                                  const THotkeyList& live);

// A parameter as it may be stored: the hotkey file keeps one value per line, so line breaks (which
// a one-line field can receive by pasting) become their placeholders, as in a keystroke string.
std::u16string OneLineParameter(std::u16string_view text);

// The stored name of the entry at `index` of the action's WindowStateList; "" outside the list.
std::u16string WindowStateName(THotKeyFunc func, int index);

// The hotkey Finish appends: active, with the texts of the fields the action shows (the others are
// empty whatever they hold); the window state only for an action that has one, and only when it is
// one of the stored names of its WindowStateList.
THotKeyData NewWizardHotkey(uint16_t key,
                            int32_t shift,
                            THotKeyFunc func,
                            std::u16string_view params,
                            std::u16string_view params2,
                            std::u16string_view params3);

// Appends the hotkey to the list and writes the whole list to the hotkey file. When the file cannot
// be written the hotkey is taken out of the list again and the error goes on.
void AppendAndSaveHotkey(THotkeyList& hotkeys, const THotKeyData& hotkey, const std::u16string& hotkeyFile);

}  // namespace corvalend
