// The handle wrappers: each handle is given back exactly once through moves, resets and releases,
// and a GDI selection is undone at the end of its scope.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "framework/UniqueHandle.h"

namespace {

// Handles are plain numbers, 0 is none; every close is written down.
std::vector<int> closed;

struct CountingTraits {
    using Handle = int;
    static Handle Invalid() { return 0; }
    static bool IsValid(Handle h) { return h != 0; }
    static void Close(Handle h) { closed.push_back(h); }
};
using CountedHandle = fw::UniqueHandle<CountingTraits>;

}  // namespace

TEST(UniqueHandle, EveryHandleIsClosedOnceThroughMovesResetsAndReleases) {
    closed.clear();
    {
        CountedHandle first(1);
        CountedHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), 1);
        EXPECT_TRUE(closed.empty()) << "moving closes nothing";

        CountedHandle third(2);
        third = std::move(second);
        EXPECT_EQ(closed, std::vector<int>{2}) << "the target's own handle goes";
        EXPECT_EQ(third.get(), 1);
        EXPECT_FALSE(second);

        CountedHandle& same = third;
        third = std::move(same);
        EXPECT_EQ(third.get(), 1) << "moving onto itself keeps the handle";

        third.reset(3);
        EXPECT_EQ(closed, (std::vector<int>{2, 1}));
        EXPECT_EQ(third.release(), 3);
        EXPECT_FALSE(third);
        third.reset();

        CountedHandle fourth(4);
        CountedHandle none;
    }
    EXPECT_EQ(closed, (std::vector<int>{2, 1, 4})) << "released and moved-from wrappers close nothing";
}

TEST(UniqueHandle, GdiObjectsAreDeletedByTheirLastOwner) {
    const fw::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    fw::UniqueBitmap bitmap(CreateCompatibleBitmap(dc.get(), 4, 4));
    const HBITMAP handle = bitmap.get();
    fw::UniqueBitmap moved(std::move(bitmap));
    bitmap.reset();
    EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP)) << "the moved-from wrapper deleted it";
    moved.reset();
    EXPECT_EQ(GetObjectType(handle), 0u) << "not deleted";
}

TEST(ScopedSelectObject, NestedSelectionsAreUndoneInOrder) {
    const fw::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const fw::UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    const fw::UniqueBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
    {
        const fw::ScopedSelectObject outer(dc.get(), red.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
        {
            const fw::ScopedSelectObject inner(dc.get(), blue.get());
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), blue.get());
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
}
