// The Find box's rule: a row's text as its frame shows it, and which rows hold the typed text.
#include "ui/HotkeyFindRules.h"

#include "core/ActionRules.h"
#include "framework/Text.h"

namespace corvalend {

std::u16string HotkeyFindText(std::u16string_view hotkeyText, const THotKeyData& data) {
    const ParameterFields shown = ParameterFieldsFor(data.Func);
    std::u16string text(hotkeyText);
    text += u'\n' + HotKeyFuncToCaption(data.Func);
    if (shown.params) text += u'\n' + data.Params;
    if (shown.params2) text += u'\n' + data.Params2;
    return fw::FoldCase(text);
}

std::vector<int> FindRows(const std::vector<std::u16string>& findTexts, std::u16string_view find) {
    const std::u16string folded = fw::FoldCase(find);
    std::vector<int> rows;
    rows.reserve(findTexts.size());
    for (size_t row = 0; row < findTexts.size(); ++row) {
        if (findTexts[row].find(folded) != std::u16string::npos) rows.push_back(static_cast<int>(row));
    }
    return rows;
}

std::u16string FoundCountText(size_t shown, size_t total) {
    return fw::IntToStr(static_cast<long long>(shown)) + u" of " + fw::IntToStr(static_cast<long long>(total)) +
           u" hotkeys";
}

}  // namespace corvalend
