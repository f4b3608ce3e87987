// Reading, marking and comparing the Alt+keys of captions.
#include "framework/Mnemonics.h"

namespace fw {

namespace {

char16_t Capital(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

}  // namespace

char16_t MnemonicOf(std::u16string_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] != u'&') return Capital(caption[i + 1]);
        ++i;  // "&&": an ampersand, not a mark
    }
    return 0;
}

std::u16string WithoutMnemonic(std::u16string_view caption) {
    std::u16string text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

std::u16string WithMnemonicAvoiding(std::u16string_view text, std::u16string_view taken) {
    std::u16string marked(text);
    if (MnemonicOf(text) != 0) return marked;
    for (size_t i = marked.size(); i-- > 0;) {
        const char16_t c = Capital(marked[i]);
        if (c == u' ' || c == u'+' || c == u'&' || taken.find(c) != std::u16string_view::npos) continue;
        return marked.insert(i, 1, u'&');
    }
    return marked;
}

std::u16string RepeatedMnemonics(const std::vector<std::u16string>& captions) {
    std::u16string seen, repeated;
    for (const std::u16string& caption : captions) {
        const char16_t key = MnemonicOf(caption);
        if (key == 0) continue;
        if (seen.find(key) == std::u16string::npos) {
            seen += key;
        } else if (repeated.find(key) == std::u16string::npos) {
            repeated += key;
        }
    }
    return repeated;
}

}  // namespace fw
