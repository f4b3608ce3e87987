// The Alt+keys of captions as the system's controls read them.
#include "framework/Mnemonics.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(Mnemonics, ReadStrippedMarkedAndCompared) {
    const std::u16string captions[][3] = {
        {u"&New hotkey", u"N", u"New hotkey"},  {u"Sa&ve", u"V", u"Save"}, {u"R&&&D", u"D", u"R&D"},
        {u"Tom && Jerry", u"", u"Tom & Jerry"}, {u"ends&", u"", u"ends&"}, {u"&...", u".", u"..."}};
    for (const auto& [caption, key, read] : captions) {
        EXPECT_EQ(std::u16string(MnemonicOf(caption) != 0, MnemonicOf(caption)), key) << caption.size();
        EXPECT_EQ(WithoutMnemonic(caption), read);
    }
    EXPECT_EQ(WithMnemonicAvoiding(u"WIN + NUM /", u"PNF"), u"WIN + NUM &/");
    EXPECT_EQ(WithMnemonicAvoiding(u"WIN + S", u"SN"), u"W&IN + S");
    EXPECT_EQ(WithMnemonicAvoiding(u"WIN + N", u"WIN"), u"WIN + N");
    EXPECT_EQ(WithMnemonicAvoiding(u"&WIN + N", u""), u"&WIN + N");
    EXPECT_EQ(RepeatedMnemonics({u"&Previous", u"&Parameters:", u"&Next", u"&previous", u"&Next", u"OK"}), u"PN");
    EXPECT_EQ(RepeatedMnemonics({u"&Save", u"Sa&ve", u"Close"}), u"");
}

}  // namespace
}  // namespace fw
