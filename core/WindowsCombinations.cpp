// The texts that name Windows' own combinations.
#include "core/WindowsCombinations.h"

#include <utility>

#include "framework/Text.h"

namespace corvalend {

namespace {

// Windows' lists name the modifiers in this order, not in the order of our hotkey texts.
constexpr std::pair<int32_t, std::u16string_view> kCompactModifiers[] = {
    {kModWin, u"WIN"},
    {kModCtrl, u"CTRL"},
    {kModAlt, u"ALT"},
    {kModShift, u"SHIFT"},
};

// The names of the table's keys other than letters, digits and function keys.
constexpr std::pair<uint16_t, std::u16string_view> kCompactKeys[] = {
    {windows_keys::kTab, u"TAB"},
    {windows_keys::kEnter, u"ENTER"},
    {windows_keys::kPause, u"PAUSE"},
    {windows_keys::kEsc, u"ESC"},
    {windows_keys::kSpace, u"SPACE"},
    {windows_keys::kHome, u"HOME"},
    {windows_keys::kLeft, u"LEFT"},
    {windows_keys::kUp, u"UP"},
    {windows_keys::kRight, u"RIGHT"},
    {windows_keys::kDown, u"DOWN"},
    {windows_keys::kPrintScreen, u"PRINTSCREEN"},
    {windows_keys::kDel, u"DEL"},
    {windows_keys::kPadPlus, u"PLUS"},
    {windows_keys::kPadMinus, u"MINUS"},
    {windows_keys::kSemicolon, u";"},
    {windows_keys::kPlus, u"PLUS"},
    {windows_keys::kComma, u","},
    {windows_keys::kMinus, u"MINUS"},
    {windows_keys::kPeriod, u"."},
};

std::u16string CompactKeyName(int32_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::u16string(1, static_cast<char16_t>(key));
    if (key >= 0x70 && key <= 0x87) return u"F" + fw::IntToStr(key - 0x6F);
    for (const auto& [code, name] : kCompactKeys) {
        if (code == key) return std::u16string(name);
    }
    return u"";
}

}  // namespace

std::u16string CompactModifiersText(int32_t shift) {
    std::u16string text;
    for (const auto& [bit, name] : kCompactModifiers) {
        if (shift & bit) text.append(name).append(u"+");
    }
    return text;
}

std::u16string CompactCombinationText(int32_t key, int32_t shift) {
    return CompactModifiersText(shift) + CompactKeyName(key);
}

std::u16string KeptByWindowsText(int32_t key, int32_t shift) {
    if (!NeverReachesPrograms(key, shift)) return u"";
    return u"Windows keeps " + CompactCombinationText(key, shift) + u" for itself (" +
           std::u16string(FindWindowsCombination(key, shift)->use) + u"); no program can use it.";
}

std::u16string UsedByAnotherProgramText(int32_t key, int32_t shift) {
    const WindowsCombination* entry = FindWindowsCombination(key, shift);
    if (entry == nullptr) return kUsedByAnotherProgramText;
    return kUsedByAnotherProgramText + (u" Windows uses " + CompactCombinationText(key, shift) + u" for ") +
           std::u16string(entry->use) + u".";
}

std::u16string_view RefusedMark(int32_t key, int32_t shift, std::u16string_view otherwise) {
    return FindWindowsCombination(key, shift) != nullptr ? kUsedByWindowsMark : otherwise;
}

}  // namespace corvalend
