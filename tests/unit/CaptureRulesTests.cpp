// The capture rules: the source rectangle against the work area, the selection and its shade, the
// quick second release, and the file name's say over the file format.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "capture/CaptureFile.h"
#include "capture/CaptureRules.h"
#include "framework/Error.h"
#include "tests/support/MemoryFileStore.h"

using namespace corvalend;

namespace {

using fw::Rect;

// 1920 x 1080 with a 40-pixel taskbar at the bottom.
const ScreenMetrics kScreen{1920, 1080, {0, 0, 1920, 1040}};

class FakeGeometry final : public CaptureGeometry {
public:
    ScreenMetrics screen = kScreen;
    std::optional<Rect> foreground;
    int windowAsked = 0;
    ScreenMetrics Screen() override { return screen; }
    std::optional<Rect> ForegroundWindowRect() override {
        ++windowAsked;
        return foreground;
    }
};

SelectionBounds Visible(int left, int top, int width, int height) {
    return {{left, top, width, height}, true};
}

}  // namespace

TEST(CaptureSourceRect, SidesBeyondTheWorkAreaGoToTheScreenEdge) {
    const Rect whole{0, 0, 1920, 1080};
    // The whole screen keeps the taskbar.
    EXPECT_EQ(CaptureSourceRect(kScreen, std::nullopt), whole);
    // A maximised window's frame overlaps every edge.
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{-8, -8, 1928, 1048}), whole);
    // Partly off the left edge: only the left side moves.
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{-100, 200, 500, 600}), (Rect{0, 200, 500, 600}));
    // Inside the work area: exactly the window.
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{100, 50, 900, 700}), (Rect{100, 50, 900, 700}));
    // Reaching into the taskbar takes the taskbar down to the screen's bottom.
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{100, 50, 900, 1041}), (Rect{100, 50, 900, 1080}));
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{100, 50, 900, 1040}), (Rect{100, 50, 900, 1040}));

    // Taskbar on the left: the strip from 0 to the window is captured too.
    const ScreenMetrics leftBar{1920, 1080, {40, 0, 1920, 1080}};
    EXPECT_EQ(CaptureSourceRect(leftBar, Rect{20, 100, 600, 500}), (Rect{0, 100, 600, 500}));
    EXPECT_EQ(CaptureSourceRect(leftBar, Rect{40, 100, 600, 500}), (Rect{40, 100, 600, 500}));
    // Taskbar at the top.
    const ScreenMetrics topBar{1920, 1080, {0, 30, 1920, 1080}};
    EXPECT_EQ(CaptureSourceRect(topBar, Rect{300, 10, 600, 500}), (Rect{300, 0, 600, 500}));
}

TEST(CaptureSourceRect, NothingLeftToCaptureTakesTheWholeScreen) {
    const Rect whole{0, 0, 1920, 1080};
    // Wholly on a second monitor to the right, or below.
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{2000, 100, 2800, 700}), whole);
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{100, 1100, 800, 1500}), whole);
    // Ending exactly at the screen's right edge would leave zero width.
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{1920, 100, 2500, 700}), whole);
    // A minimised window far off the screen.
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{-32000, -32000, -31840, -31973}), whole);
    // A window without size inside the screen.
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{300, 300, 300, 500}), whole);
    // Partly on a monitor to the left: clipped, not replaced.
    EXPECT_EQ(CaptureSourceRect(kScreen, Rect{-800, 100, 200, 700}), (Rect{0, 100, 200, 700}));
}

TEST(CaptureSourceRect, ChosenFromTheSystem) {
    FakeGeometry geometry;
    geometry.foreground = Rect{100, 50, 900, 700};
    EXPECT_EQ(ChooseCaptureRect(geometry, true), (Rect{100, 50, 900, 700}));
    EXPECT_EQ(geometry.windowAsked, 1);
    EXPECT_EQ(ChooseCaptureRect(geometry, false), (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(geometry.windowAsked, 1);  // the whole screen never asks for the window
    geometry.foreground.reset();         // no foreground window, or it has gone
    EXPECT_EQ(ChooseCaptureRect(geometry, true), (Rect{0, 0, 1920, 1080}));
}

TEST(Selection, NormalizeMovesTheEdgesOfNegativeSizes) {
    // Dragged from (200, 150) to (50, 40).
    SelectionBounds s = Visible(200, 150, 50 - 200, 40 - 150);
    NormalizeSelection(s);
    EXPECT_EQ(s.bounds.left, 50);
    EXPECT_EQ(s.bounds.top, 40);
    EXPECT_EQ(s.bounds.width, 150);
    EXPECT_EQ(s.bounds.height, 110);
    SelectionBounds positive = Visible(5, 6, 7, 8);
    NormalizeSelection(positive);
    EXPECT_EQ(positive.bounds.left, 5);
    EXPECT_EQ(positive.bounds.width, 7);
    SelectionBounds leftOnly = Visible(100, 10, -30, 20);
    NormalizeSelection(leftOnly);
    EXPECT_EQ(leftOnly.bounds.left, 70);
    EXPECT_EQ(leftOnly.bounds.width, 30);
    EXPECT_EQ(leftOnly.bounds.top, 10);
    EXPECT_EQ(leftOnly.bounds.height, 20);
}

TEST(Selection, RectIsClippedToThePicture) {
    const Rect whole{0, 0, 400, 300};
    EXPECT_EQ(GetSelectionRect(SelectionBounds{{10, 20, 30, 40}, false}, 400, 300), whole);  // hidden
    EXPECT_EQ(GetSelectionRect(Visible(10, 20, 30, 40), 400, 300), (Rect{10, 20, 40, 60}));
    // Not yet normalized: the corners are swapped.
    EXPECT_EQ(GetSelectionRect(Visible(200, 150, -150, -110), 400, 300), (Rect{50, 40, 200, 150}));
    // Past the right edge of a 400-pixel-wide picture: clipped at 400.
    EXPECT_EQ(GetSelectionRect(Visible(350, 10, 100, 50), 400, 300), (Rect{350, 10, 400, 60}));
    EXPECT_EQ(GetSelectionRect(Visible(-20, -30, 50, 60), 400, 300), (Rect{0, 0, 30, 30}));
    EXPECT_EQ(GetSelectionRect(Visible(-20, -30, 500, 600), 400, 300), whole);
    // One pixel.
    EXPECT_EQ(GetSelectionRect(Visible(399, 299, 1, 1), 400, 300), (Rect{399, 299, 400, 300}));
}

TEST(Selection, ClippingToNothingActsAsNoSelection) {
    const Rect whole{0, 0, 400, 300};
    EXPECT_EQ(GetSelectionRect(Visible(500, 10, 50, 50), 400, 300), whole);  // right of the picture
    EXPECT_EQ(GetSelectionRect(Visible(400, 10, 50, 50), 400, 300), whole);  // touching the edge
    EXPECT_EQ(GetSelectionRect(Visible(10, -90, 50, 50), 400, 300), whole);  // above
    EXPECT_EQ(GetSelectionRect(Visible(10, 10, 0, 0), 400, 300), whole);     // a plain click's bounds
    EXPECT_EQ(GetSelectionRect(Visible(10, 10, 50, 0), 400, 300), whole);
    // Bounds at the ends of the range do not wrap around.
    EXPECT_EQ(GetSelectionRect(Visible(INT_MAX - 5, 0, 100, 100), 400, 300), whole);
    EXPECT_EQ(GetSelectionRect(Visible(INT_MIN + 5, 10, -100, 20), 400, 300), whole);
    EXPECT_EQ(GetSelectionRect(Visible(INT_MIN, INT_MIN, INT_MAX, INT_MAX), 400, 300), whole);
    // An empty picture.
    EXPECT_EQ(GetSelectionRect(Visible(0, 0, 10, 10), 0, 0), (Rect{}));
}

TEST(Selection, ShadeDarkensAllButTheSelection) {
    const fw::Picture shade = BuildSelectionShade(Visible(350, 2, 100, 3), 400, 6);
    ASSERT_EQ(shade.width, 400);
    ASSERT_EQ(shade.height, 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 400; ++x) {
            const bool inside = x >= 350 && y >= 2 && y < 5;
            ASSERT_EQ(shade.At(x, y), inside ? 0x00000000u : 0x96000000u) << x << "," << y;
        }
    }
    // Hidden, or wholly outside: no shade at all.
    for (const SelectionBounds& s : {SelectionBounds{{1, 1, 5, 5}, false}, Visible(500, 1, 50, 3)}) {
        const fw::Picture clear = BuildSelectionShade(s, 400, 6);
        EXPECT_EQ(clear.pixels, std::vector<std::uint32_t>(400 * 6, 0u));
    }
    EXPECT_TRUE(BuildSelectionShade(Visible(0, 0, 5, 5), 0, 0).Empty());
    EXPECT_EQ(BuildSelectionShade(Visible(0, 0, 5, 5), 1, 1).pixels, std::vector<std::uint32_t>{0u});
}

TEST(Selection, QuickSecondReleaseCrops) {
    EXPECT_TRUE(IsCropRelease(10200, 10000));
    EXPECT_FALSE(IsCropRelease(10300, 10000));
    EXPECT_TRUE(IsCropRelease(10249, 10000));
    EXPECT_FALSE(IsCropRelease(10250, 10000));
    EXPECT_TRUE(IsCropRelease(10000, 10000));
    // Across the tick count's wrap-around.
    EXPECT_TRUE(IsCropRelease(100, 0xFFFFFFFFu - 50));
    EXPECT_FALSE(IsCropRelease(300, 0xFFFFFFFFu - 50));
    // A clock that went back counts as long ago.
    EXPECT_FALSE(IsCropRelease(9999, 10000));
}

TEST(CaptureFileName, ExtensionDecidesTheFormat) {
    EXPECT_EQ(LowerCaseFileExt(u"C:\\Shots\\Shot.JPEG"), u".jpeg");
    EXPECT_EQ(LowerCaseFileExt(u"C:\\Shots.v2\\shot"), u"");
    EXPECT_EQ(LowerCaseFileExt(u"C:/Shots.v2/shot"), u"");
    EXPECT_EQ(LowerCaseFileExt(u"shot.tar.JpG"), u".jpg");
    EXPECT_EQ(LowerCaseFileExt(u"shot."), u".");
    EXPECT_EQ(LowerCaseFileExt(u""), u"");
    EXPECT_EQ(LowerCaseFileExt(u"\u00C4BC.\u00C4PG"), u".\u00C4pg");  // ASCII letters only

    EXPECT_EQ(CaptureFileFormatFor(u"C:\\Shots\\Shot.JPEG"), CaptureFileFormat::Jpeg);
    EXPECT_EQ(CaptureFileFormatFor(u"shot.jpg"), CaptureFileFormat::Jpeg);
    EXPECT_EQ(CaptureFileFormatFor(u"shot.Jpg"), CaptureFileFormat::Jpeg);
    EXPECT_EQ(CaptureFileFormatFor(u".jpg"), CaptureFileFormat::Jpeg);
    EXPECT_EQ(CaptureFileFormatFor(u"shot.png"), CaptureFileFormat::Bitmap);
    EXPECT_EQ(CaptureFileFormatFor(u"shot.bmp"), CaptureFileFormat::Bitmap);
    EXPECT_EQ(CaptureFileFormatFor(u"shot.jpg.bak"), CaptureFileFormat::Bitmap);
    EXPECT_EQ(CaptureFileFormatFor(u"shot.jpe"), CaptureFileFormat::Bitmap);
    EXPECT_EQ(CaptureFileFormatFor(u"C:\\a.jpg\\shot"), CaptureFileFormat::Bitmap);
    EXPECT_EQ(CaptureFileFormatFor(u"shot"), CaptureFileFormat::Bitmap);
}

TEST(CaptureFileName, DialogTypeChangeReplacesTheExtension) {
    EXPECT_EQ(DefaultExtForFileType(1), u"jpg");
    EXPECT_EQ(DefaultExtForFileType(2), u"bmp");
    EXPECT_EQ(DefaultExtForFileType(0), u"bmp");
    EXPECT_EQ(ChangeFileExt(u"shot.jpg", DefaultExtForFileType(2)), u"shot.bmp");
    EXPECT_EQ(ChangeFileExt(u"shot.bmp", DefaultExtForFileType(1)), u"shot.jpg");
    EXPECT_EQ(ChangeFileExt(u"shot", u"jpg"), u"shot.jpg");
    EXPECT_EQ(ChangeFileExt(u"", u"jpg"), u".jpg");
    EXPECT_EQ(ChangeFileExt(u"", u"bmp"), u".bmp");
    EXPECT_EQ(ChangeFileExt(u"shot.tar.gz", u"bmp"), u"shot.tar.bmp");
    EXPECT_EQ(ChangeFileExt(u"C:\\Shots.v2\\shot", u"bmp"), u"C:\\Shots.v2\\shot.bmp");
    EXPECT_EQ(ChangeFileExt(u"C:\\Shots.v2\\", u"bmp"), u"C:\\Shots.v2\\.bmp");
    EXPECT_EQ(ChangeFileExt(u"shot.", u"jpg"), u"shot.jpg");
}

TEST(CaptureFileName, SavedBytesFollowTheName) {
    const fw::Picture picture(3, 2, 0xFF336699);
    MemoryFileStore files;
    SaveCaptureFile(files, u"C:\\Shot.JPEG", picture);
    SaveCaptureFile(files, u"C:\\shot.png", picture);
    SaveCaptureFile(files, u"C:\\shot", picture);
    const std::string jpeg = files.Read(u"C:\\Shot.JPEG").value_or("");
    EXPECT_EQ(jpeg.substr(0, 3), "\xFF\xD8\xFF");
    EXPECT_EQ(files.Read(u"C:\\shot.png").value_or("").substr(0, 2), "BM");
    EXPECT_EQ(files.Read(u"C:\\shot"), files.Read(u"C:\\shot.png"));
    // An existing file is overwritten.
    SaveCaptureFile(files, u"C:\\Shot.JPEG", fw::Picture(1, 1, 0xFF000000));
    EXPECT_NE(files.Read(u"C:\\Shot.JPEG"), jpeg);
}

TEST(CaptureFileName, FileThatCannotBeCreatedRaisesTheFileError) {
    MemoryFileStore files;
    files.unwritable.insert(u"C:\\locked.bmp");
    try {
        SaveCaptureFile(files, u"C:\\locked.bmp", fw::Picture(2, 2));
        ADD_FAILURE() << "no error";
    } catch (const fw::Error& e) {
        EXPECT_EQ(e.Text().rfind(u"Cannot create file \"C:\\locked.bmp\". ", 0), 0u) << e.what();
    }
    EXPECT_FALSE(files.Exists(u"C:\\locked.bmp"));
}
