// The settings window's kept place: its text and the decision where the window opens.
#include "ui/WindowPlacementRules.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "framework/Text.h"

namespace corvalend {

std::u16string PlacementToText(const TWindowPlacement& placement) {
    const fw::Bounds& b = placement.normal;
    return fw::IntToStr(b.left) + u"," + fw::IntToStr(b.top) + u"," + fw::IntToStr(b.width) + u"," +
           fw::IntToStr(b.height) + u"," + (placement.maximized ? u"1" : u"0");
}

std::optional<TWindowPlacement> PlacementFromText(std::u16string_view text) {
    std::array<int32_t, 5> numbers{};
    for (size_t i = 0; i < numbers.size(); ++i) {
        const size_t comma = text.find(u',');
        if ((comma == std::u16string_view::npos) != (i + 1 == numbers.size())) return std::nullopt;
        const std::optional<int32_t> number = fw::ParseInt(text.substr(0, comma));
        if (!number) return std::nullopt;
        numbers[i] = *number;
        text.remove_prefix(comma == std::u16string_view::npos ? text.size() : comma + 1);
    }
    const auto [left, top, width, height, maximized] = numbers;
    // No screen reaches that far: such a text was not written by the program, and its edges would not
    // even add up.
    constexpr int32_t kFar = 1'000'000;
    if (std::ranges::any_of(numbers, [](int32_t n) { return n < -kFar || n > kFar; })) return std::nullopt;
    if (width <= 0 || height <= 0 || (maximized != 0 && maximized != 1)) return std::nullopt;
    return TWindowPlacement{.normal = {left, top, width, height}, .maximized = maximized == 1};
}

std::optional<TWindowPlacement> RestoredPlacement(std::u16string_view kept, const MonitorLookup& monitors) {
    std::optional<TWindowPlacement> placement = PlacementFromText(kept);
    if (!placement) return std::nullopt;
    const std::optional<fw::Size> minimum = monitors.MinimumSizeOn(placement->normal);
    if (!minimum) return std::nullopt;
    placement->normal.width = std::max(placement->normal.width, minimum->width);
    placement->normal.height = std::max(placement->normal.height, minimum->height);
    return placement;
}

}  // namespace corvalend
