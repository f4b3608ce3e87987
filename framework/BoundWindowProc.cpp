#include "framework/BoundWindowProc.h"

#include <cstring>

#include "framework/Error.h"
#include "framework/SystemError.h"

#if !defined(__x86_64__) && !defined(_M_X64)
#error "BoundWindowProc is written for x86-64"
#endif

namespace fw {

namespace {

// One heap of executable memory for every binding of the process; it lives as long as the process.
HANDLE codeHeap = nullptr;

constexpr size_t kCodeSize = 22;

struct Forward {
    HWND window;
    WNDPROC next;
};

LRESULT PassOn(void* forward, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* to = static_cast<const Forward*>(forward);
    return CallWindowProcW(to->next, to->window, message, wParam, lParam);
}

// mov rcx, object  (the first argument, the window handle, becomes the object)
// mov rax, target
// jmp rax          (the target returns straight to the caller)
void WriteCode(unsigned char* code, void* object, BoundWindowProc::Target target) {
    unsigned char* p = code;
    *p++ = 0x48;
    *p++ = 0xB9;
    std::memcpy(p, &object, 8);
    p += 8;
    *p++ = 0x48;
    *p++ = 0xB8;
    std::memcpy(p, &target, 8);
    p += 8;
    *p++ = 0xFF;
    *p++ = 0xE0;
    FlushInstructionCache(GetCurrentProcess(), code, kCodeSize);
}

}  // namespace

BoundWindowProc::BoundWindowProc(void* object, Target target) {
    if (codeHeap == nullptr) codeHeap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    if (codeHeap == nullptr) throw Error(SystemErrorText(GetLastError()));
    code_ = static_cast<unsigned char*>(HeapAlloc(codeHeap, 0, kCodeSize));
    if (code_ == nullptr) throw Error(SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    WriteCode(code_, object, target);
}

BoundWindowProc::~BoundWindowProc() {
    if (code_ != nullptr) HeapFree(codeHeap, 0, code_);
}

void BoundWindowProc::LeaveForwarding(HWND window, WNDPROC next) {
    // Both stay for the rest of the process: the window may call them any time.
    WriteCode(code_, new Forward{window, next}, &PassOn);
    code_ = nullptr;
}

}  // namespace fw
