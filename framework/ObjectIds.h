// Small numeric identifiers for live objects, for system calls that carry a number where the object
// is meant (timer identifiers, notification-icon identifiers). A number is handed out once and not
// again until the counter wraps around, so a late message with the number of an object that is gone
// finds nothing instead of a newer object.
#pragma once

#include <cstdint>
#include <unordered_map>

namespace fw {

template <class T>
class ObjectIds {
public:
    // A number that is not 0 and not in use.
    uint32_t Add(T* object) {
        do {
            ++last_;
        } while (last_ == 0 || objects_.contains(last_));
        objects_.emplace(last_, object);
        return last_;
    }
    void Remove(uint32_t id) { objects_.erase(id); }
    // The live object with the number, or null.
    T* Find(uint64_t id) const {
        if (id > UINT32_MAX) return nullptr;
        const auto found = objects_.find(static_cast<uint32_t>(id));
        return found != objects_.end() ? found->second : nullptr;
    }

private:
    std::unordered_map<uint32_t, T*> objects_;
    uint32_t last_ = 0;
};

}  // namespace fw
