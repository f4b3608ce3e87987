// One running copy per user session: the first start holds the session's mutex and answers later
// starts, which ask it to show its settings window in front and end.
#pragma once

#include <windows.h>

#include <chrono>

#include "framework/UniqueHandle.h"

namespace corvalend {

// "Local\TamberloCorvalend", in the session's namespace, held for the life of the process.
class TSessionMutex {
public:
    TSessionMutex();
    // Another copy of the program made it first: this start is a later one.
    bool HeldElsewhere() const { return heldElsewhere_; }

private:
    fw::UniqueKernelHandle handle_;
    bool heldElsewhere_ = false;
};

// The message a later start posts to the running copy's main window.
UINT LaterStartMessage();
// True in the copy that made the session's mutex: the one that answers the message.
bool AnswersLaterStarts();

// Asks the running copy to show its settings window in front. Its main window may not be there yet
// while it starts: it is looked for up to `wait`. False when none was found.
bool AskRunningCopyToShowSettings(std::chrono::milliseconds wait);

// Asks every running copy of the program in this session to end (as when Windows closes its main
// window) and waits up to `wait` until they are gone. False when one is still running then.
bool AskRunningCopiesToEnd(std::chrono::milliseconds wait);

}  // namespace corvalend
