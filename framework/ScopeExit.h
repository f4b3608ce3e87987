// Runs a function when the scope ends, however it ends (an error included): the one scope guard.
//
//     const fw::ScopeExit clearReference([] { frmFirstUse = nullptr; });
#pragma once

#include <utility>

namespace fw {

template <typename Action>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ~ScopeExit() { action_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action action_;
};

}  // namespace fw
