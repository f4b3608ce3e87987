// The in-memory INI model: reading rules and the written form.
#include <gtest/gtest.h>

#include "framework/IniFile.h"

using fw::IniModel;

TEST(IniModel, ReadsSectionsKeysAndValuesByTheRules) {
    const IniModel ini = IniModel::Parse(
        u"orphan=1\r\n"
        u"  [ First ]  \r\n"
        u"; a comment\r\n"
        u"  name  =  some value  \r\n"
        u"NAME=second occurrence\n"
        u"novalue\r"
        u"empty=\r\n"
        u"eq=a=b\r\n"
        u"\t\r\n"
        u"[second]\r\n"
        u"Name=other\r\n"
        u"[FIRST]\r\n"
        u"name=shadowed\r\n");

    ASSERT_EQ(ini.SectionCount(), 3u);
    EXPECT_EQ(ini.ReadString(0, u"Name", u"-"), u"some value");
    EXPECT_EQ(ini.ReadString(0, u"empty", u"-"), u"");
    EXPECT_EQ(ini.ReadString(0, u"eq", u"-"), u"a=b");
    EXPECT_EQ(ini.ReadString(0, u"novalue", u"-"), u"-");
    EXPECT_EQ(ini.ReadString(0, u"orphan", u"-"), u"-");
    EXPECT_EQ(ini.ReadString(1, u"name", u"-"), u"other");
    EXPECT_EQ(ini.ReadString(2, u"name", u"-"), u"some value") << "[FIRST] is [ First ] again";
}

TEST(IniModel, IntegersAndBooleans) {
    const IniModel ini = IniModel::Parse(u"[s]\na=0x4E\nb=abc\nc=$10\nd=2\ne=true\nf=0\ng=-1\n");
    EXPECT_EQ(ini.ReadInteger(0, u"a", 0), 78);
    EXPECT_EQ(ini.ReadInteger(0, u"b", 5), 5);
    EXPECT_EQ(ini.ReadInteger(0, u"c", 0), 16);
    EXPECT_EQ(ini.ReadInteger(0, u"missing", 9), 9);
    EXPECT_TRUE(ini.ReadBool(0, u"d", false));
    EXPECT_FALSE(ini.ReadBool(0, u"e", false));  // "true" is not a number
    EXPECT_TRUE(ini.ReadBool(0, u"e", true));
    EXPECT_FALSE(ini.ReadBool(0, u"f", true));
    EXPECT_TRUE(ini.ReadBool(0, u"g", false));
}

TEST(IniModel, ReadsByPositionFromTheFirstSectionOfTheName) {
    const IniModel ini = IniModel::Parse(u"[a]\nk=1\n[b]\nk=2\n[A]\nk=3\n[]\nk=4\n");
    ASSERT_EQ(ini.SectionCount(), 4u);
    EXPECT_EQ(ini.ReadInteger(size_t{1}, u"K", 0), 2);
    EXPECT_EQ(ini.ReadInteger(size_t{2}, u"k", 0), 1);
    EXPECT_EQ(ini.ReadInteger(size_t{3}, u"k", 0), 4);
}

TEST(IniWriter, WritesSectionsInOrder) {
    fw::IniWriter ini;
    EXPECT_EQ(ini.Finish(), u"");
    ini.Section(u"a");
    ini.Value(u"x", u"text");
    ini.Value(u"empty", u"");
    ini.Section(u"c");
    ini.Integer(u"n", -5);
    ini.Bool(u"flag", true);
    ini.Bool(u"other", false);
    EXPECT_EQ(ini.Finish(), u"[a]\r\nx=text\r\nempty=\r\n\r\n[c]\r\nn=-5\r\nflag=1\r\nother=0\r\n\r\n");
}
