// The system's common controls, loaded and set up by the first control the program makes rather
// than with the program: a program resting in the tray has no control window and no need of them.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace fw {

// The functions of the library the program calls itself (its control windows come through their
// window classes).
struct CommonControlsLibrary {
    decltype(&::SetWindowSubclass) SetWindowSubclass;
    decltype(&::RemoveWindowSubclass) RemoveWindowSubclass;
    decltype(&::DefSubclassProc) DefSubclassProc;
    decltype(&::ImageList_Create) ImageList_Create;
    decltype(&::ImageList_Destroy) ImageList_Destroy;
    decltype(&::ImageList_AddMasked) ImageList_AddMasked;
    decltype(&::ImageList_GetIcon) ImageList_GetIcon;
    decltype(&::ImageList_GetImageCount) ImageList_GetImageCount;
};

// The library's functions. The first call loads the library (the version the program's manifest
// names, pinned for the rest of the run) and registers its window classes; it raises an Error when
// the library cannot be loaded, and the next call tries again. Call it before making a window of
// one of the library's classes.
const CommonControlsLibrary& CommonControls();

}  // namespace fw
