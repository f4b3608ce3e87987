// The capture rules: the source rectangle against the work area, the selection and its shade, the
// quick second release, and the file name's say over the file format.
#include <gtest/gtest.h>

#include <array>
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
const ScreenMonitor kPrimary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true};

class FakeGeometry final : public CaptureGeometry {
public:
    std::vector<ScreenMonitor> monitors{kPrimary};
    std::optional<fw::Point> cursor = fw::Point{10, 10};
    std::optional<ForegroundWindow> foreground;
    int windowAsked = 0;
    std::vector<ScreenMonitor> Monitors() override { return monitors; }
    std::optional<fw::Point> CursorPos() override { return cursor; }
    std::optional<ForegroundWindow> ForegroundWindowRect() override {
        ++windowAsked;
        return foreground;
    }
};

SelectionBounds Visible(int left, int top, int width, int height) {
    return {{left, top, width, height}, true};
}

}  // namespace

TEST(CaptureSource, OneMonitorSidesBeyondTheWorkAreaGoToTheScreenEdge) {
    const Rect whole{0, 0, 1920, 1080};
    const ScreenMonitor leftBar{whole, {40, 0, 1920, 1080}, true};
    const ScreenMonitor topBar{whole, {0, 30, 1920, 1080}, true};
    struct Case {
        ScreenMonitor monitor;
        std::optional<Rect> window;
        Rect expected;
    };
    for (const auto& [monitor, window, expected] : std::vector<Case>{
             {kPrimary, std::nullopt, whole},              // the whole screen keeps the taskbar
             {kPrimary, Rect{-8, -8, 1928, 1048}, whole},  // a maximised window's frame overlaps every edge
             {kPrimary, Rect{-100, 200, 500, 600}, {0, 200, 500, 600}},   // only the side off the edge moves
             {kPrimary, Rect{100, 50, 900, 700}, {100, 50, 900, 700}},    // inside the work area: the window
             {kPrimary, Rect{100, 50, 900, 1041}, {100, 50, 900, 1080}},  // into the taskbar: to the bottom
             {kPrimary, Rect{100, 50, 900, 1040}, {100, 50, 900, 1040}},
             {leftBar, Rect{20, 100, 600, 500}, {0, 100, 600, 500}},  // the strip left of the window too
             {leftBar, Rect{40, 100, 600, 500}, {40, 100, 600, 500}},
             {topBar, Rect{300, 10, 600, 500}, {300, 0, 600, 500}},
             // Nothing left to capture takes the whole screen: off the screen to the right or below,
             // ending at its right edge, minimised, or without size.
             {kPrimary, Rect{2000, 100, 2800, 700}, whole},
             {kPrimary, Rect{100, 1100, 800, 1500}, whole},
             {kPrimary, Rect{1920, 100, 2500, 700}, whole},
             {kPrimary, Rect{-32000, -32000, -31840, -31973}, whole},
             {kPrimary, Rect{300, 300, 300, 500}, whole},
         }) {
        const std::optional<ForegroundWindow> foreground =
            window ? std::optional<ForegroundWindow>({*window, false}) : std::nullopt;
        const CaptureChoice choice = ChooseCapture({monitor}, fw::Point{5, 5}, foreground);
        EXPECT_EQ(choice.source, expected) << (window ? window->left : -1);
        EXPECT_EQ(choice.previewWorkArea, monitor.workArea);
    }
}

TEST(CaptureSource, SeveralMonitorsPhysicalPixelsAnyScale) {
    // The primary at 150 % (3840 x 2160 pixels, taskbar 60), a 100 % monitor to its left and one
    // above it, both with their own taskbar, and a 125 % one to the right, lower down.
    const ScreenMonitor primary{{0, 0, 3840, 2160}, {0, 0, 3840, 2100}, true};
    const ScreenMonitor left{{-1920, 0, 0, 1080}, {-1920, 0, 0, 1040}, false};
    const ScreenMonitor above{{0, -1080, 1920, 0}, {0, -1080, 1920, -40}, false};
    const ScreenMonitor right{{3840, 600, 6240, 1950}, {3840, 600, 6240, 1900}, false};
    const std::vector<ScreenMonitor> monitors{left, primary, above, right};
    EXPECT_EQ(VirtualScreen(monitors), (Rect{-1920, -1080, 6240, 2160}));

    struct Case {
        const char* what;
        fw::Point cursor;
        std::optional<ForegroundWindow> window;
        Rect source;
        Rect previewWorkArea;
    };
    for (const auto& c : std::vector<Case>{
             {"the pointer's monitor, left", {-5, 500}, std::nullopt, left.bounds, left.workArea},
             {"the pointer's monitor, above", {100, -1}, std::nullopt, above.bounds, above.workArea},
             {"the primary as before", {0, 0}, std::nullopt, primary.bounds, primary.workArea},
             {"the pointer's monitor, right", {6239, 1949}, std::nullopt, right.bounds, right.workArea},
             // Off every monitor (right of the primary, above the right one): the nearest.
             {"the nearest monitor", {4000, 550}, std::nullopt, right.bounds, right.workArea},
             {"a window inside the left monitor",
              {0, 0},
              ForegroundWindow{{-1000, 100, -200, 700}, false},
              {-1000, 100, -200, 700},
              left.workArea},
             {"maximised on the left monitor",
              {0, 0},
              ForegroundWindow{{-1928, -8, 8, 1048}, true},
              left.bounds,
              left.workArea},
             {"maximised on the monitor above",
              {0, 0},
              ForegroundWindow{{-8, -1088, 1928, -32}, true},
              above.bounds,
              above.workArea},
             {"into the taskbar above",
              {0, 0},
              ForegroundWindow{{100, -900, 500, -20}, false},
              {100, -900, 500, 0},
              above.workArea},
             {"across the left and the primary",
              {0, 0},
              ForegroundWindow{{-300, 100, 900, 700}, false},
              {-300, 100, 900, 700},
              primary.workArea},
             {"across the primary and the right, beyond the virtual screen",
              {0, 0},
              ForegroundWindow{{3000, 500, 6500, 1000}, false},
              {3000, 500, 6240, 1000},
              right.workArea},
             {"across the primary and the one above",
              {0, 0},
              ForegroundWindow{{200, -400, 900, 300}, false},
              {200, -400, 900, 300},
              above.workArea},
             {"minimised: the pointer's monitor",
              {-5, 500},
              ForegroundWindow{{-32000, -32000, -31840, -31973}, false},
              left.bounds,
              left.workArea},
         }) {
        const CaptureChoice choice = ChooseCapture(monitors, c.cursor, c.window);
        EXPECT_EQ(choice.source, c.source) << c.what;
        EXPECT_EQ(choice.previewWorkArea, c.previewWorkArea) << c.what;
    }
}

TEST(CaptureSource, ChosenFromTheSystem) {
    FakeGeometry geometry;
    geometry.foreground = ForegroundWindow{{100, 50, 900, 700}, false};
    EXPECT_EQ(ChooseCapture(geometry, true).source, (Rect{100, 50, 900, 700}));
    EXPECT_EQ(geometry.windowAsked, 1);
    EXPECT_EQ(ChooseCapture(geometry, false).source, (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(geometry.windowAsked, 1);  // the whole screen never asks for the window
    geometry.foreground.reset();         // no foreground window, or it has gone
    EXPECT_EQ(ChooseCapture(geometry, true).source, (Rect{0, 0, 1920, 1080}));
    // A second monitor holding the pointer, and a system that cannot tell where the pointer is.
    const ScreenMonitor second{{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, false};
    geometry.monitors = {second, kPrimary};
    geometry.cursor = fw::Point{2000, 10};
    EXPECT_EQ(ChooseCapture(geometry, false).source, second.bounds);
    geometry.cursor.reset();
    EXPECT_EQ(ChooseCapture(geometry, false).source, kPrimary.bounds);
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

TEST(Selection, ArrowKeysMoveAndSizeItWithinThePicture) {
    // A 400 x 300 picture; the smallest selection the keys leave is 12 pixels a side.
    struct Case {
        const char* what;
        SelectionBounds selection;
        bool resize;
        int dx, dy;
        Rect expected;
    };
    for (const auto& c : std::vector<Case>{
             {"one to the right", Visible(10, 20, 50, 40), false, 1, 0, {11, 20, 61, 60}},
             {"ten up", Visible(10, 20, 50, 40), false, 0, -10, {10, 10, 60, 50}},
             {"stops at the left edge", Visible(5, 20, 50, 40), false, -10, 0, {0, 20, 50, 60}},
             {"stops at the bottom edge", Visible(10, 255, 50, 40), false, 0, 10, {10, 260, 60, 300}},
             {"the whole picture stays", Visible(0, 0, 400, 300), false, 1, 1, {0, 0, 400, 300}},
             {"hanging over the edge: first clipped", Visible(380, 10, 50, 40), false, -1, 0, {379, 10, 399, 50}},
             {"drawn up and left", Visible(60, 60, -50, -40), false, 1, 1, {11, 21, 61, 61}},
             {"wholly outside: the picture", Visible(500, 10, 50, 40), false, -1, 0, {0, 0, 400, 300}},
             {"grows to the right", Visible(10, 20, 50, 40), true, 1, 0, {10, 20, 61, 60}},
             {"shrinks from the bottom", Visible(10, 20, 50, 40), true, 0, -10, {10, 20, 60, 50}},
             {"grows up to the picture's edge", Visible(10, 295, 50, 5), true, 0, 10, {10, 295, 60, 300}},
             {"shrinks down to twelve", Visible(10, 20, 15, 40), true, -10, 0, {10, 20, 22, 60}},
             {"a smaller side does not shrink", Visible(10, 20, 8, 40), true, -1, 0, {10, 20, 18, 60}},
             {"a smaller side grows", Visible(10, 20, 8, 40), true, 1, 0, {10, 20, 19, 60}},
             {"the left and top edges stay", Visible(390, 20, 10, 40), true, 10, 0, {390, 20, 400, 60}},
         }) {
        const Rect r = c.resize ? ResizeSelectionByKey(c.selection, c.dx, c.dy, 12, 400, 300)
                                : MoveSelectionByKey(c.selection, c.dx, c.dy, 400, 300);
        EXPECT_EQ(r, c.expected) << c.what;
    }
    // The view follows: it scrolls as little as shows the selection, its start first.
    for (const auto& [position, start, end, expected] : std::vector<std::array<int, 4>>{
             {0, 10, 60, 0}, {0, 150, 210, 10}, {100, 90, 150, 90}, {100, 20, 400, 20}, {100, 150, 250, 100}}) {
        EXPECT_EQ(ScrollToShow(position, 200, start, end), expected) << position << " " << start << " " << end;
    }
    // Pictures smaller than the selection's least size.
    EXPECT_EQ(ResizeSelectionByKey(Visible(0, 0, 5, 5), -1, -1, 12, 5, 5), (Rect{0, 0, 5, 5}));
    EXPECT_EQ(MoveSelectionByKey(Visible(0, 0, 5, 5), 1, 1, 5, 5), (Rect{0, 0, 5, 5}));
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
    EXPECT_EQ(CaptureFileFormatFor(u"shot.PNG"), CaptureFileFormat::Png);
    EXPECT_EQ(CaptureFileFormatFor(u"shot.bmp"), CaptureFileFormat::Bitmap);
    EXPECT_EQ(CaptureFileFormatFor(u"shot.jpg.bak"), CaptureFileFormat::Bitmap);
    EXPECT_EQ(CaptureFileFormatFor(u"shot.jpe"), CaptureFileFormat::Bitmap);
    EXPECT_EQ(CaptureFileFormatFor(u"C:\\a.jpg\\shot"), CaptureFileFormat::Bitmap);
    EXPECT_EQ(CaptureFileFormatFor(u"shot"), CaptureFileFormat::Bitmap);
}

TEST(CaptureFileName, DialogTypeChangeReplacesTheExtension) {
    EXPECT_EQ(DefaultExtForFileType(1), u"jpg");
    EXPECT_EQ(DefaultExtForFileType(2), u"png");
    EXPECT_EQ(DefaultExtForFileType(0), u"bmp");
    EXPECT_EQ(ChangeFileExt(u"shot.jpg", DefaultExtForFileType(3)), u"shot.bmp");
    EXPECT_EQ(ChangeFileExt(u"shot.bmp", DefaultExtForFileType(1)), u"shot.jpg");
    EXPECT_EQ(ChangeFileExt(u"shot", u"jpg"), u"shot.jpg");
    EXPECT_EQ(ChangeFileExt(u"", u"jpg"), u".jpg");
    EXPECT_EQ(ChangeFileExt(u"", u"bmp"), u".bmp");
    EXPECT_EQ(ChangeFileExt(u"shot.tar.gz", u"bmp"), u"shot.tar.bmp");
    EXPECT_EQ(ChangeFileExt(u"C:\\Shots.v2\\shot", u"bmp"), u"C:\\Shots.v2\\shot.bmp");
    EXPECT_EQ(ChangeFileExt(u"C:\\Shots.v2\\", u"bmp"), u"C:\\Shots.v2\\.bmp");
    EXPECT_EQ(ChangeFileExt(u"shot.", u"jpg"), u"shot.jpg");
}

// Stands for the system's encoder: the bytes name the picture's width.
struct FakePng final : fw::PngEncoder {
    std::string EncodePng(const fw::Picture& picture) const override { return "PNG " + std::to_string(picture.width); }
};

TEST(CaptureFileName, SavedBytesFollowTheName) {
    const fw::Picture picture(3, 2, 0xFF336699);
    MemoryFileStore files;
    const FakePng png;
    SaveCaptureFile(files, u"C:\\Shot.JPEG", picture, png);
    SaveCaptureFile(files, u"C:\\shot.png", picture, png);
    SaveCaptureFile(files, u"C:\\shot", picture, png);
    const std::string jpeg = files.Read(u"C:\\Shot.JPEG").value_or("");
    EXPECT_EQ(jpeg.substr(0, 3), "\xFF\xD8\xFF");
    EXPECT_EQ(files.Read(u"C:\\shot.png"), "PNG 3");
    EXPECT_EQ(files.Read(u"C:\\shot").value_or("").substr(0, 2), "BM");
    // An existing file is overwritten.
    SaveCaptureFile(files, u"C:\\Shot.JPEG", fw::Picture(1, 1, 0xFF000000), png);
    EXPECT_NE(files.Read(u"C:\\Shot.JPEG"), jpeg);
}

TEST(CaptureFileName, FileThatCannotBeCreatedRaisesTheFileError) {
    MemoryFileStore files;
    files.unwritable.insert(u"C:\\locked.bmp");
    try {
        SaveCaptureFile(files, u"C:\\locked.bmp", fw::Picture(2, 2), FakePng());
        ADD_FAILURE() << "no error";
    } catch (const fw::Error& e) {
        EXPECT_EQ(e.Text().rfind(u"Cannot create file \"C:\\locked.bmp\". ", 0), 0u) << e.what();
    }
    EXPECT_FALSE(files.Exists(u"C:\\locked.bmp"));
}
