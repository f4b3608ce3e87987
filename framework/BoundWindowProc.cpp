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

}  // namespace

BoundWindowProc::BoundWindowProc(void* object, Target target) {
    if (codeHeap == nullptr) codeHeap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    if (codeHeap == nullptr) throw Error(SystemErrorText(GetLastError()));
    code_ = static_cast<unsigned char*>(HeapAlloc(codeHeap, 0, kCodeSize));
    if (code_ == nullptr) throw Error(SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    // mov rcx, object  (the first argument, the window handle, becomes the object)
    // mov rax, target
    // jmp rax          (the target returns straight to the caller)
    unsigned char* p = code_;
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
    FlushInstructionCache(GetCurrentProcess(), code_, kCodeSize);
}

BoundWindowProc::~BoundWindowProc() {
    HeapFree(codeHeap, 0, code_);
}

}  // namespace fw
