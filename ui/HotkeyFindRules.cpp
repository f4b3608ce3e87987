// The Find box's rule: a row's text as its frame shows it, and which rows hold the typed text.
#include "ui/HotkeyFindRules.h"

#include <unordered_map>

#include "core/ActionRules.h"
#include "framework/Text.h"

namespace corvalend {

std::vector<std::u16string> HotkeyFindTexts(const THotkeyList& list,
                                            const std::function<std::u16string(uint16_t key)>& keyName) {
    std::unordered_map<int32_t, std::u16string> keyNames;
    std::vector<std::u16string> texts;
    texts.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        const THotKeyData& data = list.GetItem(i)->HotKeyData;
        std::u16string text;
        for (const TModifier& modifier : kModifiers) {
            if (data.Shift & modifier.bit) text += modifier.prefix;
        }
        const auto named = keyNames.try_emplace(data.Key);
        if (named.second) named.first->second = keyName(static_cast<uint16_t>(data.Key));
        text += named.first->second + u'\n' + HotKeyFuncToCaption(data.Func);
        const ParameterFields shown = ParameterFieldsFor(data.Func);
        if (shown.params) text += u'\n' + data.Params;
        if (shown.params2) text += u'\n' + data.Params2;
        texts.push_back(fw::FoldCase(text));
    }
    return texts;
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
