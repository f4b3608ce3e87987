// A list of callbacks that other parts of the program subscribe to (the application's message hooks,
// a window's hooks, the listeners of the data module). Add returns a move-only subscription that
// takes its callback off the list when it goes, whichever of the two goes first, so there is no
// removal to forget. Run calls the callbacks in the order they were added, under one rule for
// errors and one for changes during a pass:
// - an error of a callback goes to the list's error handler and the others still run (the Win32
//   side passes fw::HandleCurrentException, the application's default error handler);
// - a callback taken off during a pass is not called any more, one added during a pass is called
//   from the next pass on; the list itself may go during a pass.
// For callbacks that return bool, the first that returns true has handled the call: the rest are
// not called and Run returns true.
#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace fw {

namespace detail {

// A callback's place in its list, as its subscription sees it.
struct CallbackSlot {
    bool subscribed = true;
};

}  // namespace detail

class Subscription {
public:
    Subscription() = default;
    Subscription(Subscription&& other) noexcept = default;
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            Cancel();
            slot_ = std::move(other.slot_);
        }
        return *this;
    }
    ~Subscription() { Cancel(); }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    // Takes the callback off its list now.
    void Cancel() noexcept {
        if (const auto slot = slot_.lock()) slot->subscribed = false;
        slot_.reset();
    }

private:
    template <class Signature>
    friend class CallbackList;
    explicit Subscription(std::weak_ptr<detail::CallbackSlot> slot) : slot_(std::move(slot)) {}

    std::weak_ptr<detail::CallbackSlot> slot_;
};

template <class Signature>
class CallbackList;

template <class R, class... Args>
class CallbackList<R(Args...)> {
    static_assert(std::is_void_v<R> || std::is_same_v<R, bool>, "callbacks return nothing, or whether they handled it");

public:
    using Callback = std::function<R(Args...)>;
    // Called inside the catch block of a callback's error; it must not throw.
    using ErrorHandler = void (*)() noexcept;

    explicit CallbackList(ErrorHandler onError) : onError_(onError) {}
    CallbackList(const CallbackList&) = delete;
    CallbackList& operator=(const CallbackList&) = delete;

    [[nodiscard]] Subscription Add(Callback callback) {
        DropCancelled();
        auto slot = std::make_shared<Slot>();
        slot->callback = std::move(callback);
        slots_.push_back(slot);
        return Subscription(slot);
    }

    // Calls the callbacks subscribed now; true when one of them handled the call.
    bool Run(Args... args) {
        DropCancelled();
        if (slots_.empty()) return false;
        // Copies: a callback may change the list or free it, and each callback lives out its call.
        const std::vector<std::shared_ptr<Slot>> slots = slots_;
        const ErrorHandler onError = onError_;
        for (const auto& slot : slots) {
            if (!slot->subscribed) continue;
            try {
                if constexpr (std::is_void_v<R>) {
                    slot->callback(args...);
                } else if (slot->callback(args...)) {
                    return true;
                }
            } catch (...) {
                onError();
            }
        }
        return false;
    }

private:
    struct Slot final : detail::CallbackSlot {
        Callback callback;
    };

    void DropCancelled() {
        std::erase_if(slots_, [](const std::shared_ptr<Slot>& slot) { return !slot->subscribed; });
    }

    ErrorHandler onError_;
    std::vector<std::shared_ptr<Slot>> slots_;
};

}  // namespace fw
