// The first-use guide's suggestions and how the ticked ones merge into the hotkeys, without windows.
#include "ui/frmFirstUseRules.h"

#include <algorithm>
#include <string>

#include "core/WindowsCombinations.h"
#include "framework/Text.h"

namespace corvalend {

// The ticked suggestions are written as they are, so none may be one that never reaches a program.
static_assert(std::none_of(kSuggestions.begin(), kSuggestions.end(), [](const TSuggestedHotkey& suggestion) {
    return NeverReachesPrograms(suggestion.Key, kSuggestionShift);
}));

TGlobalHotKey* FindSuggestion(const THotkeyList& hotkeys, TSuggestion suggestion) {
    const TSuggestedHotkey& wanted = kSuggestions[suggestion];
    TGlobalHotKey* const found = hotkeys.FindHotKey(wanted.Key, kSuggestionShift);
    if (found == nullptr || found->HotKeyData.Func != wanted.Func) return nullptr;
    if (!wanted.Params.empty() && fw::AsciiLower(found->HotKeyData.Params) != wanted.Params) return nullptr;
    return found;
}

void MergeSuggestions(THotkeyList& hotkeys, const TSuggestionTicks& ticked) {
    for (int i = 0; i < kSuggestionCount; ++i) {
        const auto suggestion = static_cast<TSuggestion>(i);
        if (const TGlobalHotKey* existing = FindSuggestion(hotkeys, suggestion)) {
            hotkeys.Delete(hotkeys.IndexOf(existing));
        }
        if (!ticked[suggestion]) continue;
        const TSuggestedHotkey& fresh = kSuggestions[suggestion];
        hotkeys.Add(true, fresh.Key, kSuggestionShift, fresh.Func, std::u16string(fresh.Params), u"", u"");
    }
}

TSuggestionTicks SuggestionTicks(const THotkeyList& hotkeys) {
    TSuggestionTicks ticks{};
    for (int i = 0; i < kSuggestionCount; ++i) {
        const TGlobalHotKey* found = FindSuggestion(hotkeys, static_cast<TSuggestion>(i));
        ticks[static_cast<size_t>(i)] = found != nullptr && found->HotKeyData.Active;
    }
    return ticks;
}

TSuggestionTicks SuggestionsHeldByOthers(const THotkeyList& live) {
    TSuggestionTicks held{};
    for (size_t i = 0; i < kSuggestions.size(); ++i) {
        held[i] = live.HeldByAnotherProgram(kSuggestions[i].Key, kSuggestionShift);
    }
    return held;
}

}  // namespace corvalend
