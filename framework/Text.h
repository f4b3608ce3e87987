// Small text helpers shared by the portable units. Texts are UTF-16 throughout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

std::u16string Utf8ToUtf16(std::string_view utf8);   // invalid sequences become U+FFFD
std::string Utf16ToUtf8(std::u16string_view utf16);  // lone surrogates become U+FFFD

std::u16string IntToStr(long long value);

// Strips blanks and control characters (everything up to U+0020) from both ends.
std::u16string_view Trim(std::u16string_view text);

// Letter case folding good for names in settings files: ASCII, Latin-1, Greek and Cyrillic.
char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);
bool SameText(std::u16string_view a, std::u16string_view b);

// ASCII-only lower case (A to Z), other characters unchanged.
std::u16string AsciiLower(std::u16string_view text);

// Parses a 32-bit integer: an optional sign and decimal digits, or hexadecimal after "$" or
// (when longer than two characters) after "0x"/"0X". Hexadecimal takes up to 32 bits, so
// "$FFFFFFFF" is -1. Anything else, surrounding blanks included, gives nothing.
std::optional<int32_t> ParseInt(std::u16string_view text);

// Replaces every occurrence of `from` by `to`, scanning left to right; replacements are not rescanned.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to);

}  // namespace fw
