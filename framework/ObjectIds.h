// Small numeric identifiers for live objects, for system calls that carry a number where the object
// is meant (timer identifiers, notification-icon identifiers): each number stands for a value (the
// object's handler, say). A number is handed out once and not again until the counter wraps around,
// so a late message with the number of an object that is gone finds nothing instead of a newer one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace fw {

template <class T>
class ObjectIds {
public:
    // A number that is not 0 and not in use.
    uint32_t Add(T object) {
        do {
            ++last_;
        } while (last_ == 0 || objects_.contains(last_));
        objects_.emplace(last_, std::move(object));
        return last_;
    }
    // An object that brings its own number (a global atom, say); false when it is 0 or in use.
    bool Add(uint32_t id, T object) { return id != 0 && objects_.emplace(id, std::move(object)).second; }
    void Remove(uint32_t id) { objects_.erase(id); }
    // What the live object with the number stands for, or null.
    const T* Find(uint64_t id) const {
        if (id > UINT32_MAX) return nullptr;
        const auto found = objects_.find(static_cast<uint32_t>(id));
        return found != objects_.end() ? &found->second : nullptr;
    }
    size_t Count() const { return objects_.size(); }

private:
    std::unordered_map<uint32_t, T> objects_;
    uint32_t last_ = 0;
};

}  // namespace fw
