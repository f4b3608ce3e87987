// The Alt+key of a caption, read as the system's controls read it: the character after a single
// "&", where "&&" stands for an ampersand itself. No system calls: the rules are tested natively,
// and the Windows tests check every window's captions with them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The caption's Alt+key in capitals (letters a to z are folded), or 0 when it has none.
char16_t MnemonicOf(std::u16string_view caption);

// The caption as a screen reader reads it: without the "&" that marks the Alt+key.
std::u16string WithoutMnemonic(std::u16string_view caption);

// The text with an Alt+key on its last character that none of `taken` is (spaces and "+" are never
// one; the last is the key of a combination such as "WIN + N"); unchanged when it has none free or
// has an Alt+key already.
std::u16string WithMnemonicAvoiding(std::u16string_view text, std::u16string_view taken);

// The Alt+keys that more than one of the captions has, each once, in the order first met.
std::u16string RepeatedMnemonics(const std::vector<std::u16string>& captions);

}  // namespace fw
