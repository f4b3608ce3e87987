// The data module's capture requests: a picture from the screen, then a capture window for it.
#include "capture/CaptureForms.h"

#include "capture/ScreenCapture.h"

namespace corvalend {

fw::Picture CaptureForms::Take(bool activeWindowOnly) {
    return TakeCapture(activeWindowOnly);
}

void CaptureForms::Show(fw::Picture picture) {
    TSaveCapture& form = windows_.Add(app_);
    form.CaptureImage().SetPicture(std::move(picture));
    form.Show();
    SetForegroundWindow(form.Handle());
    SetActiveWindow(form.Handle());
}

}  // namespace corvalend
