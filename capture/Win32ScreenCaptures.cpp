// The data module's capture requests: a picture from the screen, then a capture window for it.
#include "capture/Win32ScreenCaptures.h"

#include <utility>

#include "capture/ScreenCapture.h"

namespace corvalend {

fw::Picture Win32ScreenCaptures::Take(bool activeWindowOnly) {
    TakenCapture taken = TakeCapture(activeWindowOnly);
    previewWorkArea_ = taken.previewWorkArea;
    return std::move(taken.picture);
}

void Win32ScreenCaptures::Show(fw::Picture picture) {
    TSaveCapture& form = windows_.Add(app_);
    form.CaptureImage().SetPicture(std::move(picture));
    // On the monitor of the capture: the window centres itself on the work area of the monitor it is on.
    if (const auto work = std::exchange(previewWorkArea_, std::nullopt)) form.SetPosition(work->left, work->top);
    form.Show();
    SetForegroundWindow(form.Handle());
    SetActiveWindow(form.Handle());
}

}  // namespace corvalend
