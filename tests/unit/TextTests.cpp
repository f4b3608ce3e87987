// Text helpers and the text-file loader: conversions, integer reading, encodings and lines; version
// numbers and their text.
#include <gtest/gtest.h>

#include "framework/Error.h"
#include "framework/Mnemonics.h"
#include "framework/Text.h"
#include "framework/TextFile.h"
#include "framework/Version.h"

using namespace fw;

TEST(Text, ParseIntFollowsTheSettingsRules) {
    EXPECT_EQ(ParseInt(u"78"), 78);
    EXPECT_EQ(ParseInt(u"-12"), -12);
    EXPECT_EQ(ParseInt(u"+7"), 7);
    EXPECT_EQ(ParseInt(u"0x4E"), 78);
    EXPECT_EQ(ParseInt(u"0X4e"), 78);
    EXPECT_EQ(ParseInt(u"$4E"), 78);
    EXPECT_EQ(ParseInt(u"$FFFFFFFF"), -1);
    EXPECT_EQ(ParseInt(u"2147483647"), 2147483647);
    EXPECT_EQ(ParseInt(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInt(u"007"), 7);

    for (const char16_t* bad : {u"", u"abc", u"true", u"0x", u"$", u"2147483648", u"-2147483649", u"$100000000", u" 1",
                                u"1 ", u"1.5", u"-", u"0xG1", u"--1", u"99999999999999999999"}) {
        EXPECT_FALSE(ParseInt(bad).has_value()) << Utf16ToUtf8(bad);
    }
}

TEST(Text, TrimFoldAndReplace) {
    EXPECT_EQ(Trim(u" \t\x01 a b \r\n"), u"a b");
    EXPECT_EQ(Trim(u"   "), u"");
    EXPECT_TRUE(SameText(u"KEY0", u"key0"));
    EXPECT_TRUE(SameText(u"\u00C4rger", u"\u00E4RGER"));
    EXPECT_FALSE(SameText(u"key0", u"key1"));
    EXPECT_EQ(AsciiLower(u"HTTPS://\u00C4"), u"https://\u00C4");
    EXPECT_EQ(ReplaceAll(u"a\r\nb\r", u"\r", u"<?CR?>"), u"a<?CR?>\nb<?CR?>");
    EXPECT_EQ(ReplaceAll(u"xxx", u"x", u"xx"), u"xxxxxx");
}

TEST(Text, Utf8ConversionsReplaceInvalidInput) {
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"), u"a\u00E4\u20AC\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"a\u00E4\u20AC\U0001F600"), "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");          // truncated
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD");      // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");  // encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("\xFF"
                          "a"),
              u"\uFFFD"
              "a");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(TextFile, DecodeDetectsTheByteOrderMark) {
    const Windows1252CodePage ansi;
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFk\xC3\xA4", ansi), u"k\u00E4");
    EXPECT_EQ(DecodeText(std::string("\xFF\xFEk\0\xE4\0", 6), ansi), u"k\u00E4");
    EXPECT_EQ(DecodeText(std::string("\xFE\xFF\0k\0\xE4", 6), ansi), u"k\u00E4");
    EXPECT_EQ(DecodeText("k\xE4\x80", ansi), u"k\u00E4\u20AC");  // no mark: ANSI
    // Odd UTF-16 length drops the last byte; a lone first byte of a mark is ANSI.
    EXPECT_EQ(DecodeText(std::string("\xFF\xFEk\0x", 5), ansi), u"k");
    EXPECT_EQ(DecodeText("\xFF", ansi), u"\u00FF");
    EXPECT_EQ(DecodeText("\xEF\xBB", ansi), u"\u00EF\u00BB");
    EXPECT_EQ(DecodeText("", ansi), u"");
}

TEST(TextFile, SplitLinesAtAnyLineBreak) {
    using Lines = std::vector<std::u16string_view>;
    EXPECT_EQ(SplitLines(u"a\r\nb\rc\nd"), (Lines{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(SplitLines(u"a\n\nb\r\n"), (Lines{u"a", u"", u"b"}));
    EXPECT_EQ(SplitLines(u"\n\r"), (Lines{u"", u""}));
    EXPECT_TRUE(SplitLines(u"").empty());
}

TEST(TextFile, EncodeUtf16LittleEndian) {
    EXPECT_EQ(EncodeUtf16LE(u"A\u20AC", true), std::string("\xFF\xFE"
                                                           "A\0\xAC\x20",
                                                           6));
    EXPECT_EQ(EncodeUtf16LE(u"", true), "\xFF\xFE");
    EXPECT_EQ(EncodeUtf16LE(u"A", false), std::string("A\0", 2));
}

TEST(Versions, NumbersAndTheirText) {
    EXPECT_EQ(FormatVersion(1200100), u"01.20.01.00");
    EXPECT_EQ(FormatVersion(0), u"00.00.00.00");
    EXPECT_EQ(FormatVersion(5), u"00.00.00.05");
    EXPECT_EQ(FormatVersion(1234567890), u"12.34.56.78");  // digits after the eighth are dropped

    EXPECT_EQ(VersionNumber(1, 20, 1, 0), 1200100u);
    EXPECT_EQ(FormatVersion(VersionNumber(1, 20, 1, 0)), u"01.20.01.00");
    EXPECT_EQ(VersionNumber(1, 100, 0, 0), 11000000u);  // the parts run together
    EXPECT_EQ(VersionNumber(300, 0, 0, 0), 300000000u);
    try {
        VersionNumber(65535, 0, 0, 0);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Text(), u"''65535000000'' is not a valid integer value");
    }
}

TEST(Text, AltKeysOfCaptionsAreReadMarkedAndCompared) {
    EXPECT_EQ(MnemonicOf(u"R&&&D"), u'D') << "&& is an ampersand";
    EXPECT_EQ(WithMnemonicAvoiding(u"WIN + NUM /", u"PNF"), u"WIN + NUM &/");
    EXPECT_EQ(WithMnemonicAvoiding(u"WIN + S", u"SN"), u"W&IN + S");
    EXPECT_EQ(RepeatedMnemonics({u"&Previous", u"&Parameters:", u"&Next", u"&previous", u"&Next", u"OK"}), u"PN");
}
