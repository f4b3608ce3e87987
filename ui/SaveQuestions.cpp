// The questions before a hotkey is saved, built from the layouts, the sender's reading of the
// keystrokes and the parameter.
#include "ui/SaveQuestions.h"

#include "core/ActionRules.h"
#include "core/WindowsCombinations.h"
#include "framework/Text.h"

namespace corvalend {

namespace {

// A quoted item longer than this is cut: an item without its "}" runs to the end of the text.
constexpr size_t kLongestQuote = 32;

// Control characters (Enter, Escape, CTRL+letter) are commands, not text the user would miss.
bool TypesText(std::u16string_view typed) {
    for (const char16_t c : typed) {
        if (c < u' ' || c == u'\x7F') return false;
    }
    return !typed.empty();
}

std::u16string Quoted(std::u16string_view item) {
    if (item.size() <= kLongestQuote) return u"\"" + std::u16string(item) + u"\"";
    return u"\"" + std::u16string(item.substr(0, kLongestQuote)) + u"...\"";
}

// What is wrong with the item, as the end of the question's first sentence.
std::u16string ProblemText(KeyStringProblem::Kind kind, std::u16string_view item) {
    switch (kind) {
        case KeyStringProblem::UnknownName:
            return Quoted(item) + u" is not a key name.";
        case KeyStringProblem::NoClose:
            return Quoted(item) + u" has no closing \"}\".";
        case KeyStringProblem::ContentDiscarded:
            return Quoted(item) + u" types only \"}\".";
        case KeyStringProblem::CannotType:
            return Quoted(item) + u" cannot be typed.";
        case KeyStringProblem::None:
            break;
    }
    return u"";
}

}  // namespace

std::u16string TypedCharacterQuestion(uint16_t key,
                                      int32_t shift,
                                      std::u16string_view keyName,
                                      KeyboardLayouts& layouts) {
    if ((shift & (kModCtrl | kModAlt)) != (kModCtrl | kModAlt) || (shift & kModWin) != 0 || key > 0xFF) return u"";
    // Named as Windows' own texts name it: "CTRL+ALT+SHIFT+E".
    const std::u16string combination = CompactModifiersText(shift) + std::u16string(keyName);
    for (size_t layout = 0; layout < layouts.Count(); ++layout) {
        const std::u16string typed = layouts.Typed(layout, static_cast<uint8_t>(key), shift);
        if (!TypesText(typed)) continue;
        return u"On the " + layouts.Name(layout) + u" keyboard layout, " + combination + u" types \"" + typed +
               u"\". Use it as a hotkey anyway?";
    }
    return u"";
}

std::u16string KeyStringQuestion(std::u16string_view keys, const KeyStringProblem& problem) {
    if (problem.kind == KeyStringProblem::None) return u"";
    return u"The keystrokes have a problem at character " + fw::IntToStr(static_cast<long long>(problem.position + 1)) +
           u": " + ProblemText(problem.kind, keys.substr(problem.position, problem.length)) + u" Save them anyway?";
}

std::u16string EmptyParameterQuestion(THotKeyFunc func, std::u16string_view params) {
    const bool needsParameter = func == hkfOpenFile || func == hkfOpenFileAdmin || func == hkfOpenWebsite ||
                                func == hkfPlaceFileContentInClipboard;
    if (!needsParameter || !fw::Trim(DecodePlaceholders(params)).empty()) return u"";
    return u"This hotkey has no parameter, so it will do nothing. Save it anyway?";
}

std::vector<std::u16string> SaveQuestions(const THotKeyData& hotkey,
                                          SaveStep step,
                                          const THotKeyData& accepted,
                                          std::u16string_view keyName,
                                          KeyboardLayouts& layouts,
                                          const KeyStringCheck& checkKeys) {
    std::vector<std::u16string> questions;
    const bool asked = accepted.Active && accepted.Key == hotkey.Key && accepted.Shift == hotkey.Shift;
    if (hotkey.Active && !asked) {
        questions.push_back(TypedCharacterQuestion(static_cast<uint16_t>(hotkey.Key), hotkey.Shift, keyName, layouts));
    }
    if (step == SaveStep::Save && hotkey.Func == hkfSendKeys) {
        const std::u16string keys = DecodePlaceholders(hotkey.Params);  // as the sender gets them
        questions.push_back(KeyStringQuestion(keys, checkKeys(keys)));
    }
    if (step == SaveStep::Save) questions.push_back(EmptyParameterQuestion(hotkey.Func, hotkey.Params));
    std::erase(questions, u"");
    return questions;
}

}  // namespace corvalend
