// The capture windows as the data module's capture actions ask for them: each picture taken is
// shown in a capture window of its own. The windows are kept here until they close; whatever is
// still open goes with this object.
#pragma once

#include "capture/SaveCaptureU.h"
#include "core/DataWindows.h"

namespace corvalend {

class CaptureForms final : public ScreenCaptures {
public:
    explicit CaptureForms(fw::Application& app) : app_(app) {}

    fw::Picture Take(bool activeWindowOnly) override;
    void Show(fw::Picture picture) override;

private:
    fw::Application& app_;
    CaptureWindows windows_;
};

}  // namespace corvalend
