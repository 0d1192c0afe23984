#include "Framework/Input/KeyHandler.h"
#include "Framework/Input/Mouse.h"
#include "Framework/Timer/Timer.h"

#include <gtest/gtest.h>

#include <thread>

TEST(SingletonTest, SecondInstanceIsRefusedWithTheClassName)
{
    Timer timer;
    KeyHandler keys;
    Mouse mouse;
    auto messageOf = [](auto make) {
        try {
            make();
        } catch (const FrameworkEx& e) {
            return e.message;
        }
        return std::string("(none)");
    };
    EXPECT_EQ(messageOf([] { Timer again; }), "Timer is a singleton!");
    EXPECT_EQ(messageOf([] { KeyHandler again; }), "KeyHandler is a singleton!");
    EXPECT_EQ(messageOf([] { Mouse again; }), "Mouse is a singleton!");
    EXPECT_EQ(Timer::Instance(), &timer) << "a refused instance does not replace the first";
}

TEST(TimerTest, UpdateMeasuresFromTheLastRestart)
{
    Timer timer;
    Timer::SetTime(0.0, 0.0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Timer::Update();
    EXPECT_GE(Timer::GetElapsed(), 0.019);
    EXPECT_DOUBLE_EQ(Timer::GetElapsed(), Timer::GetDelta()) << "the first update after a restart";

    // The music start: the clock runs latency seconds below zero.
    const double latency = 0.25;
    Timer::SetTime(-latency, 0.0);
    EXPECT_EQ(Timer::GetElapsed(), -latency);
    EXPECT_EQ(Timer::GetDelta(), 0.0);
    Timer::Update();
    EXPECT_GE(Timer::GetElapsed(), -latency);
    EXPECT_LT(Timer::GetElapsed(), -latency + 0.5);

    Timer::SetTime(10.0, 4.0);
    EXPECT_EQ(Timer::GetElapsed(), 6.0);
    Timer::Update();
    EXPECT_GE(Timer::GetElapsed(), 6.0);
}

TEST(TimerTest, ClockIsMonotonicWithSubMillisecondSteps)
{
    Timer timer;
    const double first = Timer::GetTime();
    double later = first;
    while (later == first)
        later = Timer::GetTime();
    EXPECT_GT(later, first);
    EXPECT_LT(later - first, 0.001);
}

class KeyHandlerTest : public ::testing::Test {
protected:
    KeyHandler keys;
};

TEST_F(KeyHandlerTest, KeyDownAndUpWithinOneFrameLeavesOnlyTheReleasedEdge)
{
    keys.KeyDown('A');
    keys.KeyUp('A');
    EXPECT_FALSE(keys.State('A').down);
    EXPECT_FALSE(keys.State('A').pressed);
    EXPECT_TRUE(keys.State('A').released);
    keys.EndFrame();
    EXPECT_FALSE(keys.State('A').pressed);
    EXPECT_FALSE(keys.State('A').released);
    EXPECT_FALSE(keys.State('B').down) << "a key never seen is all false";
}

TEST_F(KeyHandlerTest, AutoRepeatSetsPressedAgainInEachFrame)
{
    keys.KeyDown('W');
    keys.EndFrame();
    EXPECT_TRUE(keys.State('W').down);
    EXPECT_FALSE(keys.State('W').pressed);
    keys.KeyDown('W');
    EXPECT_TRUE(keys.State('W').pressed);
    keys.EndFrame();
    EXPECT_TRUE(keys.State('W').down);
}

TEST_F(KeyHandlerTest, AdjustValueStepsPerFrameWithShiftAndControl)
{
    float value = 7.0f;
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    EXPECT_EQ(value, 7.0f) << "nothing while the key is up";

    keys.KeyDown('O');
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    EXPECT_EQ(value, 7.5f);
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    EXPECT_EQ(value, 10.0f) << "clamped at the maximum";

    keys.KeyDown(KeyHandler::VK_SHIFT);
    keys.KeyDown(KeyHandler::VK_RCONTROL);
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    EXPECT_EQ(value, 5.0f);
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    keys.AdjustValue('O', value, 0.0f, 10.0f, 0.5f);
    EXPECT_EQ(value, 0.0f) << "clamped at the minimum";

    keys.KeyUp(KeyHandler::VK_RCONTROL);
    keys.KeyDown(KeyHandler::VK_LCONTROL);
    value = 3.0f;
    keys.AdjustValue('O', value, -100.0f, 100.0f, 0.25f);
    EXPECT_EQ(value, 0.5f);
}

TEST(MouseTest, ButtonsComeFromTheMessageBits)
{
    Mouse mouse;
    Mouse::SetButtons(Mouse::MK_LBUTTON | Mouse::MK_MBUTTON);
    EXPECT_TRUE(Mouse::left);
    EXPECT_TRUE(Mouse::middle);
    EXPECT_FALSE(Mouse::right);
    Mouse::SetButtons(Mouse::MK_RBUTTON);
    EXPECT_FALSE(Mouse::left);
    EXPECT_TRUE(Mouse::right);
    Mouse::SetPosition(640, 65535);
    EXPECT_EQ(Mouse::y, 65535);
}
