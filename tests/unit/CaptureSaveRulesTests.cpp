// The save dialog's start from what the last save kept, and the name it offers.
#include <gtest/gtest.h>

#include <tuple>

#include "capture/CaptureSaveRules.h"

using namespace corvalend;

TEST(CaptureSaveRules, StartsWhereTheLastSaveWentAndOffersTheTime) {
    // Kept folder and type, whether the folder exists; the folder and type the dialog starts with.
    using Case = std::tuple<std::u16string, std::u16string, bool, std::u16string, int>;
    for (const auto& [folder, type, exists, start, index] :
         {Case{u"", u"", false, u"", 1}, Case{u"C:\\Shots\\", u"png", true, u"C:\\Shots\\", 2},
          Case{u"C:\\Gone\\", u"bmp", false, u"", 3}, Case{u"D:\\", u"jpg", true, u"D:\\", 1},
          Case{u"C:\\S\\", u"PNG", true, u"C:\\S\\", 1},
          Case{u"", KeptCaptureType(CaptureFileFormat::Png), false, u"", 2},
          Case{u"", KeptCaptureType(CaptureFileFormat::Bitmap), false, u"", 3}}) {
        const CaptureSaveStart chosen = ChooseCaptureSaveStart(folder, type, exists);
        EXPECT_EQ(chosen.folder, start);
        EXPECT_EQ(chosen.filterIndex, index);
    }
    EXPECT_EQ(DefaultCaptureName({2026, 3, 7, 9, 5, 1}), u"Capture 2026-03-07 09.05.01");
}
