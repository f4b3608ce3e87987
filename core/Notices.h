// What the data module asks of the tray: a notice that the user sees without it taking the focus
// from the window they work in, and a countdown in its tip. The program's start hands the tray icon's side to it.
#pragma once

#include <string>

namespace corvalend {

class Notices {
public:
    virtual ~Notices() = default;
    virtual void ShowNotice(const std::u16string& title, const std::u16string& text) = 0;
    // While a delayed capture counts down, the tip shows `tip`; empty, the usual tip again. Where
    // notices have no tip (a balloon alone), there is nothing to show.
    virtual void ShowCountdown(const std::u16string& /*tip*/) {}
};

}  // namespace corvalend
