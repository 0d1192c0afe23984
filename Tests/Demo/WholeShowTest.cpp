// The whole show on the Recorder: the player's own assembly over the build's basefile.dat, every
// frame of the 135 seconds at a fixed step as the main loop plays them. Every scene the timeline
// names becomes current in its turn, no frame fails, no data is missing (a missing curve or
// texture would show a box) and every technique the scenes ask for exists in the show's effects.
#include "Demo/BuiltShowFixture.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"

#include <set>

class WholeShowTest : public BuiltShowFixture {
protected:
    void SetUp() override
    {
        BuiltShowFixture::SetUp();
        // A run of 135 s makes millions of calls: keep their counts only.
        recorder->Config().keepCalls = false;
        Open("800x450", RecorderDirect3DCreator(recorder));
    }
};

TEST_F(WholeShowTest, EveryFrameOfTheShowPlaysWithItsScenesDataAndTechniques)
{
    constexpr double Step = 1.0 / 15.0;
    std::vector<std::string> scenes;
    for (int frame = 0; frame * Step < 135.0; ++frame) {
        Timer::SetFrameClock(frame * Step, Step);
        framework->StepFrame();
        const std::string& current = SceneHandler::Instance()->GetCurrentScene()->GetName();
        if (scenes.empty() || scenes.back() != current)
            scenes.push_back(current);
    }
    EXPECT_EQ(scenes, (std::vector<std::string>{"TindreVikIntro", "TindrevikPart1", "TindrevikPart2", "TindrevikPart3",
                                                "TindrevikScroller", "TindrevikInsideCube", "TindrevikPart4",
                                                "TindrevikPart5", "TindrevikEnd"}));
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    for (const char* name : {"Global", "postfx", "Tindrevik", "EasiestFilterEver", "Default", "liquid"}) {
        const DXEffect* effect = DXEffectHandler::Instance()->GetEffect(name);
        ASSERT_NE(effect, nullptr) << name;
        EXPECT_EQ(effect->missingTechniques, std::set<std::string>{}) << "the effect " << name << " lacks techniques";
    }
}
