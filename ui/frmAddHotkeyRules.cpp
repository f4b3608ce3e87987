// The new-hotkey wizard's page checks and the hotkey Finish builds, without windows.
#include "ui/frmAddHotkeyRules.h"

#include "core/CaptureDelayRules.h"
#include "core/WindowsCombinations.h"

namespace corvalend {

bool HotkeyInUse(const THotkeyList& list, uint16_t key, int32_t shift) {
    for (int i = 0; i < list.Count(); ++i) {
        const THotKeyData& hotkey = list.GetItem(i)->HotKeyData;
        if (hotkey.Key == key && hotkey.Shift == shift && hotkey.Active) return true;
    }
    return false;
}

std::u16string ValidateWizardPage(TWizardPage page,
                                  const TWizardEntry& entry,
                                  const THotkeyList& hotkeys,
                                  const THotkeyList& live) {
    if (page == TWizardPage::Key || page == TWizardPage::All) {
        if (entry.key == 0) return kMsgNoKey;
        if (entry.shift == 0) return kMsgNoShiftKey;
        if (HotkeyInUse(hotkeys, entry.key, entry.shift)) return kMsgHotkeyInUse;
        if (NeverReachesPrograms(entry.key, entry.shift)) return KeptByWindowsText(entry.key, entry.shift);
        if (live.HeldByAnotherProgram(entry.key, entry.shift)) return UsedByAnotherProgramText(entry.key, entry.shift);
    }
    if (page == TWizardPage::Action || page == TWizardPage::All) {
        if (!entry.actionSelected) return kMsgNoAction;
        if (TakesDelay(entry.func) && !ParseDelay(entry.params)) return kDelayProblemText;
    }
    return u"";
}

std::u16string OneLineParameter(std::u16string_view text) {
    return EncodeLineBreaks(text);
}

std::u16string WindowStateName(THotKeyFunc func, int index) {
    const TWindowStateList states = WindowStateList(func);
    return index >= 0 && static_cast<size_t>(index) < states.size() ? states[static_cast<size_t>(index)].first : u"";
}

THotKeyData NewWizardHotkey(uint16_t key,
                            int32_t shift,
                            THotKeyFunc func,
                            std::u16string_view params,
                            std::u16string_view params2,
                            std::u16string_view params3) {
    const ParameterFields fields = ParameterFieldsFor(func);
    THotKeyData hotkey;
    hotkey.Active = true;
    hotkey.Key = key;
    hotkey.Shift = shift;
    hotkey.Func = func;
    if (fields.params) hotkey.Params = OneLineParameter(params);
    if (fields.params2) hotkey.Params2 = OneLineParameter(params2);
    if (fields.windowState) {
        for (const auto& [name, caption] : WindowStateList(func)) {
            if (name == params3) hotkey.Params3 = name;
        }
    }
    return hotkey;
}

void AppendAndSaveHotkey(THotkeyList& hotkeys, const THotKeyData& hotkey, const std::u16string& hotkeyFile) {
    hotkeys.Add(hotkey.Active, hotkey.Key, hotkey.Shift, hotkey.Func, hotkey.Params, hotkey.Params2, hotkey.Params3);
    try {
        hotkeys.SaveToFile(hotkeyFile);
    } catch (...) {
        // Not in the file, so not in the list either: Finish may be tried again without the
        // hotkey standing in its own way.
        hotkeys.Delete(hotkeys.Count() - 1);
        throw;
    }
}

}  // namespace corvalend
