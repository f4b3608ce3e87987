// The callback list: subscriptions that end with their token, whichever of list and token goes
// first; the first handler stops the rest; errors reported one by one; changes during a pass.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/CallbackList.h"

namespace {

std::vector<std::string> reported;

// The error handler the Win32 side replaces with the application's.
void Report() noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        reported.emplace_back(e.what());
    }
}

}  // namespace

TEST(CallbackList, SubscriptionsEndWithTheirTokens) {
    std::vector<int> calls;
    auto list = std::make_unique<fw::CallbackList<void(int)>>(Report);
    fw::Subscription first = list->Add([&](int n) { calls.push_back(n); });
    fw::Subscription second = list->Add([&](int n) { calls.push_back(n * 10); });
    list->Run(1);
    EXPECT_EQ(calls, (std::vector<int>{1, 10}));

    fw::Subscription moved = std::move(first);
    second = {};
    list->Run(2);
    EXPECT_EQ(calls, (std::vector<int>{1, 10, 2})) << "a moved token keeps its callback, a cleared one not";

    list.reset();
    moved.Cancel();  // the list went first: nothing to take off
}

TEST(CallbackList, TheFirstThatHandlesStopsTheRest) {
    fw::CallbackList<bool(int&)> list(Report);
    int seen = 0;
    const fw::Subscription passes = list.Add([](int& n) { return ++n == 0; });
    const fw::Subscription takes = list.Add([](int& n) { return ++n > 1; });
    const fw::Subscription after = list.Add([&](int&) { return ++seen > 0; });
    int n = 0;
    EXPECT_TRUE(list.Run(n));
    EXPECT_EQ(n, 2);
    EXPECT_EQ(seen, 0);
}

TEST(CallbackList, ErrorsAreReportedAndTheOthersRun) {
    reported.clear();
    fw::CallbackList<bool()> list(Report);
    int runs = 0;
    const fw::Subscription fails = list.Add([]() -> bool { throw std::runtime_error("hook failed"); });
    const fw::Subscription runs1 = list.Add([&] { return ++runs < 0; });
    EXPECT_FALSE(list.Run());
    EXPECT_EQ(reported, std::vector<std::string>{"hook failed"});
    EXPECT_EQ(runs, 1);
}

TEST(CallbackList, ChangesDuringAPass) {
    auto list = std::make_unique<fw::CallbackList<void()>>(Report);
    std::vector<std::string> calls;
    fw::Subscription later, added, self;
    self = list->Add([&] {
        calls.push_back("self");
        self = {};    // off the list while it runs
        later = {};   // not called in this pass
        added = list->Add([&] { calls.push_back("added"); });
    });
    later = list->Add([&] { calls.push_back("later"); });
    const fw::Subscription frees = list->Add([&] { list.reset(); });
    list->Run();
    EXPECT_EQ(calls, std::vector<std::string>{"self"});
    EXPECT_EQ(list, nullptr) << "freed by its own callback";
}
