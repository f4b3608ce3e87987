// The yardstick for hotkey latency: the least a Win32 program can do to put a text on the clipboard
// when a hotkey is pressed. Arguments: modifiers, virtual key, text.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const UINT modifiers = static_cast<UINT>(std::wcstoul(argv[1], nullptr, 10));
    const UINT key = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
    const wchar_t* text = argv[3];
    const HWND window = CreateWindowExW(0, L"STATIC", L"MinimalHotkeyClipboard", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        nullptr, nullptr);
    if (!RegisterHotKey(window, 1, modifiers, key)) return 3;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_HOTKEY && OpenClipboard(window)) {
            const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
            const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
            std::memcpy(GlobalLock(memory), text, bytes);
            GlobalUnlock(memory);
            EmptyClipboard();
            SetClipboardData(CF_UNICODETEXT, memory);
            CloseClipboard();
        }
        if (message.message == WM_CLOSE || (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
