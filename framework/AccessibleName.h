// What a screen reader reads for a window whose own text does not say it all: a button whose
// caption needs the row it acts on ("Edit", but of which hotkey?), a control we draw ourselves
// whose role the system cannot guess from its class. The window keeps the system's own accessible
// object, with its states, actions and places; only the name, and the role when one is given, are
// answered here. Every such override of the program goes through this one class.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/SubclassedWindow.h"

namespace fw {

class AccessibleName final : public SubclassedWindow {
public:
    using NameSource = std::function<std::u16string()>;

    // Names `window` (not owned) with what `name` returns at each asking; a `role` other than 0
    // (one of the system's ROLE_SYSTEM_ values) replaces the role the system gives its class.
    AccessibleName(HWND window, NameSource name, long role = 0);
    ~AccessibleName() override;

    // What the object answers; shared with the objects handed out, which a screen reader may keep
    // after the window or this override is gone (then they answer as the system would).
    struct Answers {
        NameSource name;
        long role = 0;
    };

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::shared_ptr<Answers> answers_;
};

// The same answer from a window's own handling of WM_GETOBJECT (wParam, lParam), for a window whose
// name changes with what it shows (the popup's marked row): its client object named `name`, with
// `role` (0 keeps the system's). 0 for other objects, which the caller leaves to the default handling.
LRESULT AccessibleNameAnswer(HWND window, WPARAM wParam, LPARAM lParam, std::u16string name, long role);

// Tells screen readers that the focus is on `window`'s client object anew, as its name changed
// while it kept the focus.
void NotifyAccessibleFocus(HWND window);

}  // namespace fw
