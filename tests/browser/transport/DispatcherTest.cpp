#include "Win32UiDispatcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace qv::win {
namespace {

using namespace std::chrono_literals;

TEST(Win32UiDispatcher, PostedWorkRunsOnTheWindowThreadInOrder) {
    Win32UiDispatcher ui;
    std::vector<int> seen;
    std::vector<std::thread::id> threads;
    std::thread poster([&] {
        for (int i = 0; i < 200; ++i) {
            ui.Post([&, i] {
                seen.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
        }
    });
    ASSERT_TRUE(Win32UiDispatcher::PumpUntil([&] { return seen.size() == 200; }, 5s));
    poster.join();
    for (int i = 0; i < 200; ++i) ASSERT_EQ(seen[i], i);
    for (const auto& id : threads) ASSERT_EQ(id, std::this_thread::get_id());
}

TEST(Win32UiDispatcher, TimerRepeatsUntilItKillsItself) {
    Win32UiDispatcher ui;
    int ticks = 0;
    ui.SetTimer(1000, 10, [&] {
        if (++ticks == 3) ui.KillTimer(1000);
    });
    EXPECT_FALSE(Win32UiDispatcher::PumpUntil([&] { return ticks > 3; }, 500ms));
    EXPECT_EQ(ticks, 3);
}

TEST(Win32UiDispatcher, SettingARunningIdReplacesItsCallback) {
    Win32UiDispatcher ui;
    int first = 0;
    int second = 0;
    ui.SetTimer(1001, 100000, [&] { ++first; });
    ui.SetTimer(1001, 10, [&] { ++second; });
    ASSERT_TRUE(Win32UiDispatcher::PumpUntil([&] { return second >= 2; }, 2s));
    EXPECT_EQ(first, 0);
}

}  // namespace
}  // namespace qv::win
