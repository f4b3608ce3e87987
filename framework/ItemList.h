// A list control's items as the portable units fill them: a text with a number carried alongside.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

class ItemList {
public:
    virtual ~ItemList() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::u16string& text, intptr_t object) = 0;
};

}  // namespace fw
