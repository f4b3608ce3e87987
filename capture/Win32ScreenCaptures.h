// The capture windows as the data module's capture actions ask for them: each picture taken is
// shown in a capture window of its own, on the monitor it was taken on. The windows are kept here
// until they close; whatever is still open goes with this object.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "capture/SaveCaptureU.h"
#include "core/DataWindows.h"

namespace corvalend {

class Win32ScreenCaptures final : public ScreenCaptures {
public:
    explicit Win32ScreenCaptures(fw::Application& app) : app_(app) {}

    fw::Picture Take(bool activeWindowOnly) override;
    void Show(fw::Picture picture) override;
    // The settings key where the windows keep the folder and type of the last save.
    void KeepSavesIn(std::u16string settingsKey) { windows_.SettingsKey = std::move(settingsKey); }

private:
    fw::Application& app_;
    CaptureWindows windows_;
    std::optional<fw::Rect> previewWorkArea_;  // of the last picture taken, until it is shown
};

}  // namespace corvalend
