// The update check: one HTTP request that carries the program's version; the server's answer says
// whether a newer version exists. The request runs on a thread of its own, so that whoever waits
// for it can go on with other work (the windows let their messages run).
#pragma once

#include <chrono>
#include <functional>

#include "core/UpdateRules.h"

namespace corvalend {

// For testing only: the environment variable CORVALEND_UPDATE_SERVER, when set, names the update
// server ("host" or "host:port") in place of the program's own.
inline constexpr wchar_t kUpdateServerVariable[] = L"CORVALEND_UPDATE_SERVER";

// Returns once `done` (the system's event, a HANDLE) is signalled or `timeLimit` has passed,
// whichever is first; it may return earlier (when the program is ending), and the check then counts
// as failed.
using UpdateWait = std::function<void(void* done, std::chrono::milliseconds timeLimit)>;

class TUpdater {
public:
    // True when a newer version is available. Raises "Error\r\rCould not check for updates." when
    // the server cannot be reached, answers with a status other than success or with more than
    // kLargestUpdateAnswer bytes, or has not answered completely within `timeLimit`. Without a
    // `wait`, the calling thread simply blocks until then.
    bool Check(std::chrono::milliseconds timeLimit = kUpdateTimeLimit, const UpdateWait& wait = nullptr);
};

}  // namespace corvalend
