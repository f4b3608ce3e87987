// The Alt+keys of captions as the system's controls read them.
#include "framework/Mnemonics.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(Mnemonics, ReadMarkedAndStripped) {
    struct Case {
        std::u16string caption;
        char16_t key;
        std::u16string read;
    };
    const Case cases[] = {
        {u"&New hotkey", u'N', u"New hotkey"},
        {u"Sa&ve", u'V', u"Save"},
        {u"Tom && Jerry", 0, u"Tom & Jerry"},
        {u"R&&&D", u'D', u"R&D"},
        {u"Close", 0, u"Close"},
        {u"ends&", 0, u"ends&"},
        {u"&...", u'.', u"..."},
        {u"", 0, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MnemonicOf(c.caption), c.key) << "caption size " << c.caption.size();
        EXPECT_EQ(WithoutMnemonic(c.caption), c.read);
    }
}

TEST(Mnemonics, MarkedOnTheLastFreeCharacterOnce) {
    EXPECT_EQ(WithMnemonicAvoiding(u"WIN + NUM /", u"PNF"), u"WIN + NUM &/");
    EXPECT_EQ(WithMnemonicAvoiding(u"WIN + S", u"SN"), u"W&IN + S");
    EXPECT_EQ(WithMnemonicAvoiding(u"WIN + N", u"NSI"), u"&WIN + N");
    EXPECT_EQ(WithMnemonicAvoiding(u"WIN + N", u"WIN"), u"WIN + N");
    EXPECT_EQ(WithMnemonicAvoiding(u"&WIN + N", u""), u"&WIN + N");
}

TEST(Mnemonics, RepeatedOnesNamedOnce) {
    EXPECT_EQ(RepeatedMnemonics({u"&Previous", u"&Parameters:", u"&Next", u"&previous", u"&Next", u"OK"}), u"PN");
    EXPECT_EQ(RepeatedMnemonics({u"&Save", u"Sa&ve", u"Close"}), u"");
}

}  // namespace
}  // namespace fw
