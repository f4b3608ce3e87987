// The update check's rules: the query address and the answer rule.
#include <gtest/gtest.h>

#include "core/UpdateRules.h"
#include "framework/TextFile.h"

using namespace corvalend;

namespace {

bool Offers(std::string_view answer) {
    return AnswerOffersUpdate(answer, fw::Windows1252CodePage());
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace

TEST(UpdateRules, QueryAndDownloadPage) {
    EXPECT_EQ(UpdateQueryAddress(u"update.corvalend.example", 1200100),
              u"http://update.corvalend.example/softwareupdate.php?obj=11&ver=1200100");
    EXPECT_EQ(UpdateQueryAddress(u"127.0.0.1:8080", 0), u"http://127.0.0.1:8080/softwareupdate.php?obj=11&ver=0");
    EXPECT_EQ(UpdateQueryAddress(u"h", 2147483647), u"http://h/softwareupdate.php?obj=11&ver=2147483647");
    EXPECT_EQ(UpdateQueryAddress(kUpdateServerHost, 1),
              u"http://update.corvalend.example/softwareupdate.php?obj=11&ver=1");
    EXPECT_EQ(DownloadPageAddress(), u"http://www.corvalend.example/download");
}

TEST(UpdateRules, TheMarkerDecides) {
    EXPECT_TRUE(Offers("Corvalend\r\nversion 1.21\r\n[UPDATE]\r\n"));
    EXPECT_TRUE(Offers("[UPDATE]"));                                    // one line without a break
    EXPECT_TRUE(Offers("new: [UPDATE] available\n"));                   // inside a longer line
    EXPECT_TRUE(Offers("a\rb\r[UPDATE]"));                              // carriage returns alone break lines too
    EXPECT_FALSE(Offers("Corvalend\r\nversion 1.21\r\n[update]\r\n"));  // case matters
    EXPECT_FALSE(Offers("[Update]"));
    EXPECT_FALSE(Offers("OK"));
    EXPECT_FALSE(Offers(""));
    EXPECT_FALSE(Offers("[UPDATE"));
    EXPECT_FALSE(Offers("[UPD\r\nATE]"));  // a line break splits the marker
    constexpr char garbage[] =
        "\x00\xFF\x80[UPD\x00"
        "ATE]\x9D";
    EXPECT_FALSE(Offers(std::string_view(garbage, sizeof(garbage) - 1)));
    EXPECT_FALSE(Offers("<html><body><h1>404 Not Found</h1></body></html>"));
}

TEST(UpdateRules, AnswerEncodings) {
    EXPECT_TRUE(
        Offers("\xEF\xBB\xBF"
               "caf\xC3\xA9\r\n[UPDATE]\r\n"));  // UTF-8 with its mark
    EXPECT_TRUE(Offers(Utf16(u"line\r\n\u00E9\u4E2D [UPDATE]\r\n", false)));
    EXPECT_TRUE(Offers(Utf16(u"line\r\n\u00E9\u4E2D [UPDATE]\r\n", true)));
    // Without a mark, bytes in UTF-16 order are ANSI text with zero bytes between the letters.
    EXPECT_FALSE(Offers(Utf16(u"[UPDATE]", false).substr(2)));
    EXPECT_FALSE(Offers(Utf16(u"[update]", true)));
    EXPECT_FALSE(Offers("\xEF\xBB\xBF"));          // only the mark
    EXPECT_TRUE(Offers("caf\xE9 \x80 [UPDATE]"));  // ANSI letters around the marker
}

TEST(UpdateRules, LargeAnswers) {
    std::string answer;
    while (answer.size() < (1u << 20)) answer += "a line of padding text in the answer\r\n";
    EXPECT_FALSE(Offers(answer));
    EXPECT_TRUE(Offers(answer + "[UPDATE]"));
    std::string oneLine(1u << 20, 'x');
    EXPECT_TRUE(Offers(oneLine + "[UPDATE]" + oneLine));
}
