// The clipboard, open for as long as the object lives.
#pragma once

#include <windows.h>

#include <string>

#include "framework/UniqueHandle.h"

namespace fw {

class Clipboard {
public:
    // Opens the clipboard for the window; raises "Cannot open clipboard: %s" when another
    // program holds it.
    explicit Clipboard(HWND owner);
    ~Clipboard();
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    // Empties the clipboard and places the text (CF_UNICODETEXT) with its terminating null.
    void SetText(const std::u16string& text);

    // Empties the clipboard and places the bitmap (CF_BITMAP); the clipboard owns it from then on.
    void SetBitmap(UniqueBitmap bitmap);
};

}  // namespace fw
