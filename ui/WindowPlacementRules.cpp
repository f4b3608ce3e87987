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
    const std::optional<TMonitorRoom> monitor = monitors.MonitorOf(placement->normal);
    if (!monitor) return std::nullopt;
    // Along one axis: at least the minimum, at most the room (unless the room is below the minimum),
    // and inside the room as far as the size lets it be.
    const auto fit = [](int32_t& start, int32_t& length, int32_t roomStart, int32_t roomLength, int32_t minimum) {
        length = std::max(std::min(length, roomLength), minimum);
        start = std::max(std::min(start, roomStart + roomLength - length), roomStart);
    };
    const fw::Bounds& room = monitor->workArea;
    fw::Bounds& normal = placement->normal;
    fit(normal.left, normal.width, room.left, room.width, monitor->minimum.width);
    fit(normal.top, normal.height, room.top, room.height, monitor->minimum.height);
    return placement;
}

}  // namespace corvalend
