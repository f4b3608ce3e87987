// The save dialog's start from what the last save kept, the type kept after a save, the name offered.
#include <gtest/gtest.h>

#include <utility>

#include "capture/CaptureSaveRules.h"
#include "framework/Text.h"

using namespace corvalend;

TEST(CaptureSaveRules, StartsInTheKeptFolderWithTheKeptType) {
    struct Case {
        const char16_t* folder;
        const char16_t* type;
        bool exists;
        const char16_t* startFolder;
        int filterIndex;
    };
    for (const Case& c :
         {Case{u"", u"", false, u"", 1}, Case{u"C:\\Shots\\", u"png", true, u"C:\\Shots\\", 2},
          Case{u"C:\\Gone\\", u"bmp", false, u"", 3}, Case{u"D:\\", u"jpg", true, u"D:\\", 1},
          Case{u"C:\\Shots\\", u"gif", true, u"C:\\Shots\\", 1}, Case{u"C:\\S\\", u"PNG", true, u"C:\\S\\", 1}}) {
        const CaptureSaveStart start = ChooseCaptureSaveStart(c.folder, c.type, c.exists);
        EXPECT_EQ(start.folder, c.startFolder) << fw::Utf16ToUtf8(c.folder);
        EXPECT_EQ(start.filterIndex, c.filterIndex) << fw::Utf16ToUtf8(c.type);
    }
    // What a save keeps is read back as the type of the format written.
    for (const auto& [format, index] :
         {std::pair{CaptureFileFormat::Jpeg, 1}, {CaptureFileFormat::Png, 2}, {CaptureFileFormat::Bitmap, 3}})
        EXPECT_EQ(ChooseCaptureSaveStart(u"", KeptCaptureType(format), false).filterIndex, index);
}

TEST(CaptureSaveRules, DefaultNameIsTheLocalTime) {
    EXPECT_EQ(DefaultCaptureName({2026, 3, 7, 9, 5, 1}), u"Capture 2026-03-07 09.05.01");
    EXPECT_EQ(DefaultCaptureName({1999, 12, 31, 23, 59, 59}), u"Capture 1999-12-31 23.59.59");
}
