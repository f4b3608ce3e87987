// The editor frame's check before a save, its window-state lookup and the copy of its edits.
#include "ui/HotkeySettingRules.h"

#include "core/CaptureDelayRules.h"
#include "core/WindowsCombinations.h"
#include "framework/Text.h"
#include "ui/MainFormRules.h"

namespace corvalend {

HotkeyProblem CheckHotkey(const THotkeyList& list,
                          const TGlobalHotKey* self,
                          const HotkeyEdits& edits,
                          const THotkeyList& live) {
    for (int i = 0; i < list.Count(); ++i) {
        const TGlobalHotKey* other = list.GetItem(i);
        if (other == self) continue;
        const THotKeyData& data = other->HotKeyData;
        if (data.Key == edits.Key && data.Shift == edits.Shift && data.Active) return HotkeyProblem::InUse;
    }
    if (edits.Active && NeverReachesPrograms(edits.Key, edits.Shift)) return HotkeyProblem::KeptByWindows;
    if (edits.Active && live.HeldByAnotherProgram(edits.Key, edits.Shift)) return HotkeyProblem::UsedByAnotherProgram;
    if (edits.Func == hkfNoAction) return HotkeyProblem::NoAction;
    if (TakesDelay(edits.Func) && !ParseDelay(edits.Params)) return HotkeyProblem::BadDelay;
    return HotkeyProblem::None;
}

std::u16string HotkeyViewReading(const THotkeyView& view) {
    std::u16string shift;
    for (size_t i = 0; i < kModifiers.size(); ++i) {
        if (!view.Ticks[i]) continue;
        std::u16string_view name = kModifiers[i].prefix;
        name = name.substr(0, name.find(u' '));
        shift += (shift.empty() ? u"" : u", ") + std::u16string(name);
    }
    std::u16string text = std::u16string(u"Active: ") + (view.Active ? u"yes" : u"no") + u". Shift key: " +
                          (shift.empty() ? u"none" : shift) + u". Key: " + HotkeyViewKeyText(view) + u". Action: " +
                          view.Action;
    if (view.Shown.params) text += u". " + ParametersCaption(view.Shown, kParametersCaption) + u" " + view.Params;
    if (view.Shown.params2) text += u". " + std::u16string(kAdditionalParametersCaption) + u" " + view.Params2;
    return text;
}

std::u16string HotkeyViewKeyText(const THotkeyView& view) {
    if (!view.Refused) return view.Key;
    return view.Key + (view.UsedByWindows ? kUsedByWindowsMark : kInUseSuffix);
}

std::u16string HotkeyProblemText(HotkeyProblem problem, uint16_t key, int32_t shift) {
    switch (problem) {
        case HotkeyProblem::InUse:
            return kHotkeyInUseText;
        case HotkeyProblem::KeptByWindows:
            return KeptByWindowsText(key, shift);
        case HotkeyProblem::UsedByAnotherProgram:
            return UsedByAnotherProgramText(key, shift);
        case HotkeyProblem::NoAction:
            return kNoActionText;
        case HotkeyProblem::BadDelay:
            return kDelayProblemText;
        case HotkeyProblem::None:
            break;
    }
    return u"";
}

std::u16string ParametersCaption(const ParameterFields& shown, std::u16string_view usual) {
    return std::u16string(shown.delay ? kDelayCaption : usual);
}

int WindowStateIndex(const TWindowStateList& states, std::u16string_view name) {
    for (size_t i = 0; i < states.size(); ++i) {
        if (fw::SameText(states[i].first, name)) return static_cast<int>(i);
    }
    return -1;
}

void CopyEdits(const HotkeyEdits& edits, THotKeyData& data) {
    data.Active = edits.Active;
    data.Shift = edits.Shift;
    data.Key = edits.Key;
    data.Func = edits.Func;
    data.Params = EncodeLineBreaks(edits.Params);
    data.Params2 = EncodeLineBreaks(edits.Params2);
    data.Params3 = edits.Params3;
}

}  // namespace corvalend
