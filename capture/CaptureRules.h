// The rules of screen capture that need no system: which screen rectangle a capture copies, how a
// drawn selection becomes a picture rectangle and a shade, how the arrow keys move and size it,
// when a release on the selection crops, and how the save dialog's file name decides between JPEG,
// PNG and bitmap.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/Geometry.h"
#include "framework/Picture.h"

namespace corvalend {

// A monitor in the desktop's physical pixels (the process is per-monitor DPI aware, so monitors of
// any scale share one coordinate space; the primary one has its top-left corner at (0, 0)).
struct ScreenMonitor {
    fw::Rect bounds;
    fw::Rect workArea;  // the monitor without the taskbar and docked bars
    bool primary = false;
};

// The foreground window's outer rectangle, and whether it is maximised (its frame then overlaps
// the edges of its monitor, also into a neighbouring monitor).
struct ForegroundWindow {
    fw::Rect rect;
    bool maximised = false;
};

// What a capture asks of the system before it copies pixels.
class CaptureGeometry {
public:
    virtual ~CaptureGeometry() = default;
    // Never empty: at least the primary monitor.
    virtual std::vector<ScreenMonitor> Monitors() = 0;
    // The mouse pointer; nothing when the system cannot tell.
    virtual std::optional<fw::Point> CursorPos() = 0;
    // Nothing when there is no foreground window or it has gone.
    virtual std::optional<ForegroundWindow> ForegroundWindowRect() = 0;
};

// The monitor that holds the point, else the nearest one; the primary one without a point.
const ScreenMonitor& MonitorAtPoint(const std::vector<ScreenMonitor>& monitors, const std::optional<fw::Point>& point);
// The smallest rectangle around all monitors.
fw::Rect VirtualScreen(const std::vector<ScreenMonitor>& monitors);

// What a capture copies, and the work area of the monitor its preview opens on.
struct CaptureChoice {
    fw::Rect source;
    fw::Rect previewWorkArea;
};

// The whole screen is the monitor that holds the mouse pointer. A window is taken on the monitor
// that holds most of it, each side that reaches beyond that monitor's work area pushed out to the
// monitor's edge (a maximised window, whose frame overlaps the edges, is the whole monitor, taskbar
// included); a window that is not maximised and reaches into another monitor is taken whole,
// clipped to the virtual screen. Without a window, or with one on no monitor (minimised), the
// monitor that holds the pointer.
CaptureChoice ChooseCapture(const std::vector<ScreenMonitor>& monitors,
                            const std::optional<fw::Point>& cursor,
                            const std::optional<ForegroundWindow>& window);
CaptureChoice ChooseCapture(CaptureGeometry& geometry, bool activeOnly);

// The selection control in picture pixels; width and height are negative while the mouse is left
// of or above the starting point.
struct SelectionBounds {
    fw::Bounds bounds;
    bool visible = false;
};

// Makes width and height positive by moving the left and top edges.
void NormalizeSelection(SelectionBounds& selection);

// The selection clipped to the picture, right and bottom exclusive; the whole picture when the
// selection is hidden or clips to nothing (it lies wholly outside the picture).
fw::Rect GetSelectionRect(const SelectionBounds& selection, int pictureWidth, int pictureHeight);

// The selection after an arrow key, as GetSelectionRect clips it to the picture: moved by (dx, dy)
// and kept inside the picture; or, resizing, its right and bottom edges moved by (dx, dy), up to the
// picture's edges and down to minSize (a side already smaller does not shrink).
fw::Rect MoveSelectionByKey(const SelectionBounds& selection, int dx, int dy, int pictureWidth, int pictureHeight);
fw::Rect ResizeSelectionByKey(const SelectionBounds& selection,
                              int dx,
                              int dy,
                              int minSize,
                              int pictureWidth,
                              int pictureHeight);

// The scroll position along one axis that shows [start, end) in a view of the given length,
// scrolling as little as possible; the start wins when the range is longer than the view.
int ScrollToShow(int position, int viewLength, int start, int end);

// Outside the selection the shade darkens the picture; inside it is fully transparent.
constexpr std::uint32_t kShadeColour = 0x96000000;
constexpr std::uint32_t kClearColour = 0x00000000;

// The overlay layer shown over a picture of the given size for the selection: transparent when
// there is no selection (hidden, or clipping to nothing), otherwise shade with a clear hole.
fw::Picture BuildSelectionShade(const SelectionBounds& selection, int pictureWidth, int pictureHeight);

// Two releases on the selection less than this many milliseconds apart crop the picture.
constexpr std::uint32_t kCropReleaseInterval = 250;
// Tick counts wrap around after 49.7 days; the difference is taken as unsigned 32-bit.
bool IsCropRelease(std::uint32_t nowTicks, std::uint32_t lastReleaseTicks);

// The extension of a file name from the last "." after the last path separator, "." included and
// ASCII letters in lower case; "" when there is none.
std::u16string LowerCaseFileExt(const std::u16string& fileName);

enum class CaptureFileFormat { Jpeg, Png, Bitmap };

// ".jpg" and ".jpeg" in any case save a JPEG, ".png" a PNG; any other name, a Windows bitmap.
CaptureFileFormat CaptureFileFormatFor(const std::u16string& fileName);

// The save dialog's default extension for its selected file type (1 JPEG, 2 PNG, 3 Bitmap).
std::u16string DefaultExtForFileType(int filterIndex);

// The file name with its extension replaced by "." + ext; appended when it has none.
std::u16string ChangeFileExt(const std::u16string& fileName, const std::u16string& ext);

}  // namespace corvalend
