// The rules of screen capture that need no system: which screen rectangle a capture copies, how a
// drawn selection becomes a picture rectangle and a shade, when a release on the selection crops,
// and how the save dialog's file name decides between JPEG and bitmap.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "framework/Geometry.h"
#include "framework/Picture.h"

namespace corvalend {

// The primary screen as the system reports it.
struct ScreenMetrics {
    int width = 0;      // SM_CXSCREEN
    int height = 0;     // SM_CYSCREEN
    fw::Rect workArea;  // the screen without the taskbar and docked bars
};

// What a capture asks of the system before it copies pixels.
class CaptureGeometry {
public:
    virtual ~CaptureGeometry() = default;
    virtual ScreenMetrics Screen() = 0;
    // The outer rectangle of the foreground window; nothing when there is none or it has gone.
    virtual std::optional<fw::Rect> ForegroundWindowRect() = 0;
};

// The screen rectangle a capture copies: the foreground window's outer rectangle (or the whole
// screen when there is none), each side that reaches beyond the work area pushed out to the
// screen's edge. A rectangle left without width or height (a window on another monitor, a
// minimised window) captures the whole screen instead.
fw::Rect CaptureSourceRect(const ScreenMetrics& screen, const std::optional<fw::Rect>& windowRect);
fw::Rect ChooseCaptureRect(CaptureGeometry& geometry, bool activeOnly);

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

enum class CaptureFileFormat { Jpeg, Bitmap };

// ".jpg" and ".jpeg" in any case save a JPEG; any other name, a Windows bitmap.
CaptureFileFormat CaptureFileFormatFor(const std::u16string& fileName);

// The save dialog's default extension for its selected file type (1 JPEG, 2 Bitmap).
std::u16string DefaultExtForFileType(int filterIndex);

// The file name with its extension replaced by "." + ext; appended when it has none.
std::u16string ChangeFileExt(const std::u16string& fileName, const std::u16string& ext);

}  // namespace corvalend
