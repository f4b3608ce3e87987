// The data module as the program's start makes it: with the program's own first-run windows and
// capture windows.
#pragma once

#include "capture/Win32ScreenCaptures.h"
#include "core/datau.h"
#include "framework/Application.h"
#include "ui/Win32FirstRunWindows.h"

namespace wintest {

// Held in a base, so that they exist before the data module's start-up asks for them and go after it.
struct ProgramWindows {
    explicit ProgramWindows(fw::Application& app) : captures(app) {}
    corvalend::Win32FirstRunWindows firstRun;
    corvalend::Win32ScreenCaptures captures;
};

class ProgramData : private ProgramWindows, public corvalend::TData {
public:
    explicit ProgramData(fw::Application& app) : ProgramWindows(app), TData(app, firstRun, captures) {}
};

}  // namespace wintest
