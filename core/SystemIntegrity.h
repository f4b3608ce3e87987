// The integrity levels of our own process and of the foreground window's process, as the system
// tells them, and the system's clock for the notices.
#pragma once

#include <cstdint>
#include <optional>

#include "core/ElevationRules.h"

namespace corvalend {

class SystemIntegrity final : public IntegrityLevels {
public:
    std::optional<uint32_t> OwnLevel() override;
    WindowInFront Foreground() override;
    // Milliseconds since the system started, never going back.
    static uint64_t Now();
};

}  // namespace corvalend
