// Files through the system: whole-file reads, replacing writes that never lose the old content,
// and the hotkey file on a real disk.
#include <gtest/gtest.h>

#include "core/Hotkeys.h"
#include "framework/Error.h"
#include "framework/SystemError.h"
#include "framework/UniqueHandle.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/WinTest.h"

using namespace corvalend;

namespace {

int CountFiles(const std::u16string& folder) {
    int count = 0;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(fw::AsWide(folder + u"\\*"), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

std::u16string ErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const fw::Error& e) {
        return e.Text();
    }
    return u"(no error)";
}

// Records nothing: the files tests never register.
class NoRegistrar final : public HotkeyRegistrar {
public:
    uint16_t AddAtomName(const std::u16string&) override { return 0; }
    void DeleteAtom(uint16_t) override {}
    bool RegisterHotKey(uint16_t, uint32_t, uint32_t) override { return false; }
    bool UnregisterHotKey(uint16_t) override { return false; }
    bool CombinationFree(uint32_t, uint32_t) override { return false; }
};

}  // namespace

TEST(Win32FileStore, ReadsAndReplacesWholeFiles) {
    wintest::ScratchFolder folder;
    fw::Win32FileStore files;
    const std::u16string path = folder.File(u"a \u00E4\u4E2D.ini");
    EXPECT_FALSE(files.Exists(path));
    EXPECT_FALSE(files.Read(path).has_value());
    EXPECT_FALSE(files.Read(folder.File(u"missing\\x.ini")).has_value());

    files.Replace(path, std::string("one\0two", 7));
    EXPECT_TRUE(files.Exists(path));
    EXPECT_EQ(files.Read(path), std::string("one\0two", 7));
    files.Replace(path, "");
    EXPECT_EQ(files.Read(path), "");
    EXPECT_EQ(CountFiles(folder.Path()), 1);    // no temporary file stays
    EXPECT_FALSE(files.Exists(folder.Path()));  // a folder is no file
}

TEST(Win32FileStore, FailedWritesKeepTheOldFileAndLeaveNothingBehind) {
    wintest::ScratchFolder folder;
    fw::Win32FileStore files;
    const std::u16string path = folder.File(u"hotkeys.ini");
    files.Replace(path, "old content");

    // Held open without sharing by another program: neither readable nor replaceable.
    {
        fw::UniqueFile held(
            CreateFileW(fw::AsWide(path), GENERIC_READ, /*share=*/0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        const std::u16string readError = ErrorText([&] { files.Read(path); });
        EXPECT_EQ(readError.rfind(u"Cannot open file \"" + path + u"\". ", 0), 0u) << fw::Utf16ToUtf8(readError);
        EXPECT_GT(readError.size(), path.size() + 20);  // the system's reason follows
        const std::u16string writeError = ErrorText([&] { files.Replace(path, "new"); });
        EXPECT_EQ(writeError.rfind(u"Cannot create file \"" + path + u"\". ", 0), 0u) << fw::Utf16ToUtf8(writeError);
        EXPECT_NE(writeError.back(), u'.');  // the default error handler adds the period
    }
    EXPECT_EQ(files.Read(path), "old content");
    EXPECT_EQ(CountFiles(folder.Path()), 1);

    // Folder that does not exist.
    const std::u16string elsewhere = folder.File(u"gone\\hotkeys.ini");
    EXPECT_EQ(
        ErrorText([&] { files.Replace(elsewhere, "x"); }).rfind(u"Cannot create file \"" + elsewhere + u"\". ", 0), 0u);
}

TEST(Win32FileStore, KeepsTheReplacedFileAsTheBackupAndAFailedSaveChangesNeither) {
    wintest::ScratchFolder folder;
    fw::Win32FileStore files;
    const std::u16string path = folder.File(u"hotkeys.ini");
    const std::u16string backup = folder.File(u"hotkeys.ini.bak");
    const std::string first("\xFF\xFE[\0k\0]\0\r\0\n\0", 12);

    files.ReplaceKeepingBackup(path, first, backup);  // nothing to keep yet
    EXPECT_FALSE(files.Exists(backup));
    files.ReplaceKeepingBackup(path, "second", backup);
    EXPECT_EQ(files.Read(backup), first);
    EXPECT_EQ(files.Read(path), "second");
    files.ReplaceKeepingBackup(path, "third", backup);
    EXPECT_EQ(files.Read(backup), "second");
    EXPECT_EQ(CountFiles(folder.Path()), 2);

    // Either file held open without sharing by another program: the save fails, and both keep
    // their bytes.
    for (const std::u16string& held : {path, backup}) {
        {
            fw::UniqueFile handle(
                CreateFileW(fw::AsWide(held), GENERIC_READ, /*share=*/0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(handle);
            const std::u16string error = ErrorText([&] { files.ReplaceKeepingBackup(path, "fourth", backup); });
            EXPECT_EQ(error.rfind(u"Cannot create file \"" + path + u"\". ", 0), 0u) << fw::Utf16ToUtf8(error);
        }
        EXPECT_EQ(files.Read(path), "third") << fw::Utf16ToUtf8(held);
        EXPECT_EQ(files.Read(backup), "second") << fw::Utf16ToUtf8(held);
        EXPECT_EQ(CountFiles(folder.Path()), 2);  // no temporary file stays
    }
}

TEST(Win32FileStore, ReadingAFileThatMustExistTellsTheSystemsReason) {
    wintest::ScratchFolder folder;
    fw::Win32FileStore files;
    // Over 2 GB without writing it: the file's end is set past the limit.
    const std::u16string huge = folder.File(u"huge.txt");
    {
        fw::UniqueFile file(CreateFileW(fw::AsWide(huge), GENERIC_WRITE, /*share=*/0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER end{};
        end.QuadPart = 0x80000001LL;
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
    }
    const struct {
        std::u16string path;
        DWORD reason;
    } cases[] = {
        {folder.File(u"missing.txt"), ERROR_FILE_NOT_FOUND},
        {folder.File(u"gone\\missing.txt"), ERROR_PATH_NOT_FOUND},
        {u"", ERROR_PATH_NOT_FOUND},
        {huge, ERROR_FILE_TOO_LARGE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorText([&] { files.ReadExisting(c.path); }),
                  fw::CannotOpenFileText(c.path, fw::SystemErrorText(c.reason)))
            << fw::Utf16ToUtf8(c.path);
    }
    files.Replace(folder.File(u"there.txt"), "x");
    EXPECT_EQ(files.ReadExisting(folder.File(u"there.txt")), "x");
}

TEST(Win32FileStore, ForceDirectoriesCreatesTheWholePath) {
    wintest::ScratchFolder folder;
    const std::u16string deep = folder.File(u"Tamberlo\\Corvalend\\Data");
    EXPECT_TRUE(fw::ForceDirectories(deep));
    EXPECT_TRUE(wintest::FolderExists(deep));
    EXPECT_TRUE(fw::ForceDirectories(deep));  // already there
    EXPECT_EQ(fw::ExtractFileDir(deep + u"\\hotkeys.ini"), deep);
}

TEST(HotkeyFileOnWindows, RoundTripThroughTheDiskAndTheAnsiCodePage) {
    wintest::ScratchFolder folder;
    NoRegistrar registrar;
    fw::Win32FileStore files;
    fw::SystemAnsiCodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    const std::u16string path = folder.File(u"hotkeys.ini");

    THotkeyList list(system);
    list.Add(true, 78, 8, hkfOpenFile, u"C:\\Program Files\\\u00E4\u4E2D.exe", u"/x", u"MAXIMIZED");
    list.Add(false, 65, 3, hkfPlaceInClipboard, u"line1\r\nline2", u"", u"");
    list.SaveToFile(path);

    THotkeyList loaded(system);
    loaded.LoadFromFile(path, false);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.GetItem(0)->HotKeyData.Params, u"C:\\Program Files\\\u00E4\u4E2D.exe");
    EXPECT_EQ(loaded.GetItem(1)->HotKeyData.Params, u"line1<?CR?><?LF?>line2");
    loaded.LoadFromFile(path, true);
    EXPECT_EQ(loaded.Count(), 1);

    // A hand-written file without a byte-order mark is read in the ANSI code page.
    files.Replace(path, "[key0]\r\nactive=1\r\nfunc=openfile\r\nparams=caf\xE9\r\n");
    loaded.LoadFromFile(path, true);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.GetItem(0)->HotKeyData.Params, u"caf\u00E9");
}
