// Import of another hotkey file: which hotkeys come in, which are skipped, and what the user is told.
#include "core/HotkeyImportRules.h"

#include <utility>

#include "framework/Text.h"

namespace corvalend {

namespace {

bool ActiveHotkeyUses(const THotkeyList& list, int count, const THotKeyData& hotkey) {
    for (int i = 0; i < count; ++i) {
        const THotKeyData& own = list.GetItem(i)->HotKeyData;
        if (own.Active && own.Key == hotkey.Key && own.Shift == hotkey.Shift) return true;
    }
    return false;
}

}  // namespace

TImportCount AppendImportedHotkeys(THotkeyList& list, const THotkeyList& incoming) {
    const int own = list.Count();
    TImportCount count;
    for (int i = 0; i < incoming.Count(); ++i) {
        const THotKeyData& hotkey = incoming.GetItem(i)->HotKeyData;
        if (ActiveHotkeyUses(list, own, hotkey)) {
            ++count.skipped;
            continue;
        }
        list.Add(hotkey.Active, hotkey.Key, hotkey.Shift, hotkey.Func, hotkey.Params, hotkey.Params2, hotkey.Params3);
        ++count.imported;
    }
    return count;
}

std::u16string ImportedText(const TImportCount& count) {
    std::u16string text =
        u"Imported " + fw::IntToStr(count.imported) + (count.imported == 1 ? u" hotkey" : u" hotkeys");
    if (count.skipped == 0) return text + u".";
    return text + u"; skipped " + fw::IntToStr(count.skipped) + u" whose combination is already in use.";
}

std::optional<TImportCount> ImportHotkeyFile(THotkeyList& list,
                                             const std::u16string& file,
                                             const HotkeySystem& system) {
    THotkeyList incoming(system);
    incoming.LoadFromFile(file, /*OnlyActive=*/false);
    if (incoming.Count() == 0) return std::nullopt;
    return AppendImportedHotkeys(list, incoming);
}

}  // namespace corvalend
