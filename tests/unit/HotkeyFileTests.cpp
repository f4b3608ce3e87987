// The hotkey file: its exact written bytes and how any file, hand-edited or odd, is read.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/Hotkeys.h"
#include "framework/Error.h"
#include "framework/Text.h"
#include "framework/TextFile.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/PosixFileStore.h"

using namespace corvalend;

namespace {

const std::u16string kFile = u"C:\\Data\\hotkeys.ini";

std::string Utf16File(std::u16string_view text) {
    return fw::EncodeUtf16LE(text, true);
}

struct HotkeyFileTest : ::testing::Test {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    THotkeyList list{system};

    void Load(std::string bytes, bool onlyActive = false) {
        files.files[kFile] = std::move(bytes);
        list.LoadFromFile(kFile, onlyActive);
    }
    const THotKeyData& Data(int i) const { return list.GetItem(i)->HotKeyData; }
};

}  // namespace

TEST_F(HotkeyFileTest, WritesTheExactLayout) {
    list.Add(true, 78, 8, hkfOpenFile, u"notepad.exe", u"", u"");
    list.Add(false, 116, 6, hkfSendKeys, u"Line1<?CR?><?LF?>\u00E4", u"p2", u"MAXIMIZED");
    list.SaveToFile(kFile);
    EXPECT_EQ(files.files[kFile], Utf16File(u"[key0]\r\nactive=1\r\nkey=78\r\nshift=8\r\nfunc=openfile\r\n"
                                            u"params=notepad.exe\r\nparams2=\r\nparams3=\r\n\r\n"
                                            u"[key1]\r\nactive=0\r\nkey=116\r\nshift=6\r\nfunc=sendkeystrokes\r\n"
                                            u"params=Line1<?CR?><?LF?>\u00E4\r\nparams2=p2\r\nparams3=MAXIMIZED\r\n"
                                            u"\r\n"));
    EXPECT_EQ(files.files.count(kFile + u".bak"), 0u);  // nothing was replaced
    list.Clear();
    list.SaveToFile(kFile);
    EXPECT_EQ(files.files[kFile], "\xFF\xFE");
    list.LoadFromFile(kFile, false);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(HotkeyFileTest, SaveReplacesWhateverTheFileHeldAndKeepsItAsTheBackup) {
    const std::string before =
        Utf16File(u"; comment\r\n[hotkey]\r\nactive=1\r\nfunc=close\r\nextra=1\r\n[other]\r\nx=y\r\n");
    Load(before);
    ASSERT_EQ(list.Count(), 1);
    list.SaveToFile(kFile);
    const std::string saved = Utf16File(
        u"[key0]\r\nactive=1\r\nkey=0\r\nshift=0\r\nfunc=close\r\n"
        u"params=\r\nparams2=\r\nparams3=\r\n\r\n");
    EXPECT_EQ(files.files[kFile], saved);
    EXPECT_EQ(files.files[u"C:\\Data\\hotkeys.ini.bak"], before);
    list.Clear();
    list.SaveToFile(kFile);
    EXPECT_EQ(files.files[u"C:\\Data\\hotkeys.ini.bak"], saved);
}

TEST_F(HotkeyFileTest, ReadsValuesByTheRules) {
    Load(
        Utf16File(u"[KEY0]\r\n active = 2 \r\n key = 0x4E\r\nshift=$8\r\nFUNC=openfile\r\n"
                  u"params=   notepad.exe  \r\nparams2=a=b\r\n"
                  u"[key7]\r\nactive=true\r\nkey=abc\r\nfunc=close\r\n"
                  u"[hotkey]\r\nfunc=Maximize\r\nactive=1\r\n"
                  u"[empty]\r\nactive=1\r\nfunc=\r\n"
                  u"[noactive]\r\nfunc=minimize\r\nkey=77\r\nkey=99\r\n"));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(Data(0).Active);
    EXPECT_EQ(Data(0).Key, 78);
    EXPECT_EQ(Data(0).Shift, 8);
    EXPECT_EQ(Data(0).Func, hkfOpenFile);
    EXPECT_EQ(Data(0).Params, u"notepad.exe");
    EXPECT_EQ(Data(0).Params2, u"a=b");
    EXPECT_EQ(Data(0).Params3, u"");
    EXPECT_FALSE(Data(1).Active);  // "true" is no number
    EXPECT_EQ(Data(1).Key, 0);
    EXPECT_EQ(Data(1).Func, hkfClose);
    EXPECT_FALSE(Data(2).Active);  // no "active" at all
    EXPECT_EQ(Data(2).Key, 77);    // first occurrence wins

    list.LoadFromFile(kFile, true);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(Data(0).Func, hkfOpenFile);

    list.SaveToFile(kFile);  // renumbered in file order
    list.LoadFromFile(kFile, false);
    EXPECT_NE(files.files[kFile].find(std::string("[\0k\0e\0y\0"
                                                  "0\0]",
                                                  12)),
              std::string::npos);
}

TEST_F(HotkeyFileTest, DuplicateSectionNamesReadTheFirst) {
    Load(Utf16File(u"[a]\r\nactive=1\r\nfunc=close\r\nkey=1\r\n[A]\r\nactive=1\r\nfunc=minimize\r\nkey=2\r\n"));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(Data(1).Func, hkfClose);
    EXPECT_EQ(Data(1).Key, 1);
}

TEST_F(HotkeyFileTest, ReadsEveryEncoding) {
    const std::u16string text = u"[key0]\nactive=1\rkey=65\r\nfunc=placeinclipboard\nparams=\u00E4\u20AC\u4E2D\n";
    const auto check = [&](const std::string& bytes, const std::u16string& params) {
        Load(bytes);
        ASSERT_EQ(list.Count(), 1);
        EXPECT_EQ(Data(0).Key, 65);
        EXPECT_EQ(Data(0).Params, params);
    };
    check(Utf16File(text), u"\u00E4\u20AC\u4E2D");
    check("\xEF\xBB\xBF" + fw::Utf16ToUtf8(text), u"\u00E4\u20AC\u4E2D");
    std::string be = "\xFE\xFF";
    for (char16_t c : text) be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    check(be, u"\u00E4\u20AC\u4E2D");
    check("[key0]\r\nactive=1\r\nkey=65\r\nfunc=placeinclipboard\r\nparams=\xE4\x80\r\n", u"\u00E4\u20AC");
}

TEST_F(HotkeyFileTest, LineBreaksInValuesNeverAddKeysOrSections) {
    list.Add(true, 65, 2, hkfPlaceInClipboard, u"a\r\n[key9]\r\nfunc=close\rb\nc", u"x\ny", u"");
    list.SaveToFile(kFile);
    list.LoadFromFile(kFile, false);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(Data(0).Func, hkfPlaceInClipboard);
    EXPECT_EQ(Data(0).Params, u"a<?CR?><?LF?>[key9]<?CR?><?LF?>func=close<?CR?>b<?LF?>c");
    EXPECT_EQ(Data(0).Params2, u"x<?LF?>y");
}

TEST_F(HotkeyFileTest, MissingUnreadableAndUnwritableFiles) {
    list.Add(true, 1, 1, hkfClose, u"", u"", u"");
    list.LoadFromFile(u"C:\\nothing.ini", true);
    EXPECT_EQ(list.Count(), 0);

    list.Add(true, 1, 1, hkfClose, u"", u"", u"");
    files.files[kFile] = "old";
    files.unreadable.insert(kFile);
    try {
        list.LoadFromFile(kFile, false);
        FAIL() << "no error";
    } catch (const fw::Error& e) {
        EXPECT_EQ(e.Text(), u"Cannot open file \"C:\\Data\\hotkeys.ini\". Access is denied");
    }
    EXPECT_EQ(list.Count(), 0);  // cleared before the failing read

    list.Add(true, 1, 1, hkfClose, u"", u"", u"");
    files.unwritable.insert(kFile);
    EXPECT_THROW(list.SaveToFile(kFile), fw::Error);
    EXPECT_EQ(files.files[kFile], "old");
}

TEST_F(HotkeyFileTest, HostileBytesLoadWithoutHarm) {
    const std::string cases[] = {
        "\xFF",
        "\xFF\xFE[",
        std::string("\xFF\xFE[\0k\0]\0", 7),
        std::string("\xFE\xFF\0[\0k\0]\0\n\0f", 13),
        "\xEF\xBB\xBF[k]\nfunc=close\xC3\nactive=1\xF0\x9F",
        std::string("[k]\0\nfunc=close\0\nactive=1\n", 27),
        std::string(1 << 20, '['),
        "[k]\nparams=" + std::string(1 << 20, 'x') + "\nfunc=close\nactive=1\n",
        "]\n[\n=\n[]\n=[]\n;[\n[ ]\nfunc=close\nactive=1\n",
    };
    for (const std::string& bytes : cases) {
        Load(bytes);
        EXPECT_LE(list.Count(), 1);
    }
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "[s" + std::to_string(i % 1000) + "]\nfunc=close\nactive=1\n";
    Load(many);
    EXPECT_EQ(list.Count(), 100000);
}

TEST(HotkeyFileOnDisk, RoundTripAndFailedWriteKeepsTheOldFile) {
    char dirTemplate[] = "/tmp/corvalend-test-XXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    const std::filesystem::path dir = dirTemplate;
    const std::u16string file = fw::Utf8ToUtf16((dir / "hotkeys.ini").string());

    FakeRegistrar registrar;
    PosixFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    THotkeyList list(system);
    list.Add(true, 78, 8, hkfOpenFile, u"notepad.exe", u"", u"MINIMIZED");
    list.SaveToFile(file);
    const std::string saved = *files.Read(file);

    THotkeyList other(system);
    other.LoadFromFile(file, true);
    ASSERT_EQ(other.Count(), 1);
    EXPECT_EQ(other.GetItem(0)->HotKeyData.Params3, u"MINIMIZED");

    // A folder in the way of the temporary file makes the write fail.
    std::filesystem::create_directory(dir / "hotkeys.ini.new");
    std::filesystem::create_directory(dir / "hotkeys.ini.new" / "x");
    list.Add(true, 1, 1, hkfClose, u"", u"", u"");
    EXPECT_THROW(list.SaveToFile(file), fw::Error);
    EXPECT_EQ(*files.Read(file), saved);
    std::filesystem::remove_all(dir);
}
