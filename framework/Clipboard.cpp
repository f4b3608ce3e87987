// Opening the clipboard for one owner and putting text or a bitmap on it.
#include "framework/Clipboard.h"

#include <cstring>

#include "framework/Error.h"
#include "framework/SystemError.h"
#include "framework/UniqueHandle.h"

namespace fw {

namespace {

[[noreturn]] void ThrowClipboardError(DWORD error) {
    throw Error(u"Cannot open clipboard: " + SystemErrorText(error));
}

}  // namespace

Clipboard::Clipboard(HWND owner) {
    // Another program may hold the clipboard for a moment; a few tries spare the user a message.
    for (int attempt = 0; !OpenClipboard(owner); ++attempt) {
        if (attempt == 4) ThrowClipboardError(GetLastError());
        Sleep(10);
    }
}

Clipboard::~Clipboard() {
    CloseClipboard();
}

void Clipboard::SetText(const std::u16string& text) {
    const size_t bytes = (text.size() + 1) * sizeof(char16_t);
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) ThrowClipboardError(GetLastError());
    void* target = GlobalLock(memory.get());
    if (target == nullptr) ThrowClipboardError(GetLastError());
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.get());
    if (!EmptyClipboard() || SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) {
        ThrowClipboardError(GetLastError());
    }
    memory.release();  // the clipboard owns it now
}

void Clipboard::SetBitmap(UniqueBitmap bitmap) {
    if (!EmptyClipboard() || SetClipboardData(CF_BITMAP, bitmap.get()) == nullptr) {
        ThrowClipboardError(GetLastError());
    }
    bitmap.release();  // the clipboard owns it now
}

}  // namespace fw
