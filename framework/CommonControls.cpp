// Loading the common controls at their first use, with their window classes.
#include "framework/CommonControls.h"

#include "framework/SystemLibrary.h"

namespace fw {

namespace {

CommonControlsLibrary Load() {
    const SystemLibrary library(L"comctl32.dll");
    INITCOMMONCONTROLSEX classes{.dwSize = sizeof(classes),
                                 .dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    library.Get<decltype(InitCommonControlsEx)>("InitCommonControlsEx")(&classes);
    return {
        .SetWindowSubclass = library.Get<decltype(::SetWindowSubclass)>("SetWindowSubclass"),
        .RemoveWindowSubclass = library.Get<decltype(::RemoveWindowSubclass)>("RemoveWindowSubclass"),
        .DefSubclassProc = library.Get<decltype(::DefSubclassProc)>("DefSubclassProc"),
        .ImageList_Create = library.Get<decltype(::ImageList_Create)>("ImageList_Create"),
        .ImageList_Destroy = library.Get<decltype(::ImageList_Destroy)>("ImageList_Destroy"),
        .ImageList_AddMasked = library.Get<decltype(::ImageList_AddMasked)>("ImageList_AddMasked"),
        .ImageList_GetIcon = library.Get<decltype(::ImageList_GetIcon)>("ImageList_GetIcon"),
        .ImageList_GetImageCount = library.Get<decltype(::ImageList_GetImageCount)>("ImageList_GetImageCount"),
    };
}

}  // namespace

const CommonControlsLibrary& CommonControls() {
    // Made once, by the first call on any thread, and never changed: the library stays loaded.
    static const CommonControlsLibrary library = Load();
    return library;
}

}  // namespace fw
