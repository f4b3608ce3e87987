// The actions' portable rules: placeholders, parameter fields, window states, addresses, key texts.
#include "core/ActionRules.h"

#include "core/CaptureDelayRules.h"
#include "core/Hotkeys.h"
#include "framework/Text.h"

namespace corvalend {

std::u16string DecodePlaceholders(std::u16string_view text) {
    return fw::ReplaceAll(fw::ReplaceAll(fw::ReplaceAll(text, kPlaceholderCR, u"\r"), kPlaceholderLF, u"\n"),
                          kPlaceholderTab, u"\t");
}

std::u16string EncodePlaceholders(std::u16string_view text) {
    return fw::ReplaceAll(EncodeLineBreaks(text), u"\t", kPlaceholderTab);
}

ParameterFields ParameterFieldsFor(THotKeyFunc func) {
    return {.params = HotKeyFuncHasParams(func) || TakesDelay(func),
            .chooser = HotKeyFuncBrowsesFile(func) || HotKeyFuncEditsText(func),
            .params2 = HotKeyFuncHasParams2(func),
            .windowState = HotKeyFuncHasParams3(func),
            .delay = TakesDelay(func)};
}

ShowState ShowStateFor(std::u16string_view windowState) {
    const std::u16string lower = fw::AsciiLower(windowState);
    if (lower == u"maximized") return ShowState::Maximized;
    if (lower == u"minimized") return ShowState::Minimized;
    return ShowState::Normal;
}

std::u16string WebAddress(std::u16string_view address) {
    const std::u16string lower = fw::AsciiLower(address);
    if (lower.starts_with(u"http://") || lower.starts_with(u"https://")) return std::u16string(address);
    return u"http://" + std::u16string(address);
}

std::u16string ClipboardTextFromFile(std::string_view bytes, const fw::AnsiCodePage& ansi) {
    const std::u16string text = fw::DecodeText(bytes, ansi);
    std::u16string joined;
    joined.reserve(text.size() + text.size() / 16);
    for (std::u16string_view line : fw::SplitLines(text)) joined.append(line).append(u"\r\n");
    return joined;
}

namespace {

std::u16string FixedKeyName(uint16_t key) {
    switch (key) {
        case 0x08:
            return u"BkSp";
        case 0x09:
            return u"Tab";
        case 0x0D:
            return u"Enter";
        case 0x1B:
            return u"Esc";
        case 0x20:
            return u"Space";
        case 0x21:
            return u"PgUp";
        case 0x22:
            return u"PgDn";
        case 0x23:
            return u"End";
        case 0x24:
            return u"Home";
        case 0x25:
            return u"Left";
        case 0x26:
            return u"Up";
        case 0x27:
            return u"Right";
        case 0x28:
            return u"Down";
        case 0x2D:
            return u"Ins";
        case 0x2E:
            return u"Del";
        default:
            break;
    }
    if ((key >= u'0' && key <= u'9') || (key >= u'A' && key <= u'Z')) return std::u16string(1, char16_t(key));
    if (key >= 0x60 && key <= 0x69) return std::u16string(1, char16_t(u'0' + key - 0x60));  // keypad digits
    if (key >= 0x70 && key <= 0x87) return u"F" + fw::IntToStr(key - 0x6F);
    return u"";
}

}  // namespace

std::u16string HotkeyToString(uint16_t Key, uint16_t Shift, const KeyNames& names) {
    std::u16string text;
    for (const TModifier& modifier : kModifiers) {
        if (Shift & modifier.bit) text += modifier.prefix;
    }
    if (Key > 255) return text;
    const std::u16string fixed = FixedKeyName(Key);
    return text + (fixed.empty() ? names.LayoutKeyName(Key) : fixed);
}

}  // namespace corvalend
