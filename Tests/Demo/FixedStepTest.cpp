// The simulation moves in fixed steps of the show clock: a show played at any frame rate, or with
// frames of uneven length, has the same state at every time its frames share, and a second show in
// one process repeats the first whatever the shared generator went through in between.
#include "Demo/ShowScenesFixture.h"

#include "Demo/TimeControl/ShowState.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/Noise/CrtRand.h"
#include "Framework/Timer/Timer.h"
#include "Modules/PostEffects/PostEffects.h"

#include <cstring>
#include <set>

namespace {

// The intro's field, the box scene's swarm and the scroller's field, with the screen filter
// throughout, in four seconds.
const char* const ShortTimeline = "0 TindreVikIntro\n1.5 TindrevikInsideCube\n3 TindrevikScroller\n";
const std::set<double> Checkpoints = {1.0, 2.0, 3.0, 4.0};

std::vector<double> EvenFrames(int perSecond)
{
    std::vector<double> times;
    for (int frame = 1; frame <= 4 * perSecond; ++frame)
        times.push_back(frame / static_cast<double>(perSecond));
    return times;
}

// Frames from a millisecond to a quarter of a second long, meeting every checkpoint.
std::vector<double> UnevenFrames()
{
    const double lengths[] = {0.004, 0.21, 0.033, 0.0101, 0.09, 0.25, 0.001, 0.017};
    std::vector<double> times;
    double t = 0.0;
    for (size_t i = 0; t < 4.0; ++i) {
        const double next = t + lengths[i % std::size(lengths)];
        const auto checkpoint = Checkpoints.upper_bound(t);
        t = checkpoint != Checkpoints.end() && *checkpoint <= next ? *checkpoint : next;
        times.push_back(t);
    }
    return times;
}

} // namespace

class FixedStepTest : public ShowScenesFixture {
protected:
    // A fresh show in this process, its frames at the given times, undrawn; the states at the
    // checkpoints, in order.
    std::vector<ShowState> Play(const std::vector<double>& frameTimes)
    {
        framework.reset();
        Assemble({{"Data\\events\\Scenes.txt", Bytes(ShortTimeline)}});
        std::vector<ShowState> states;
        double last = 0.0;
        for (const double t : frameTimes) {
            Timer::SetFrameClock(t, t - last);
            framework->StepFrameUndrawn();
            last = t;
            if (Checkpoints.contains(t))
                states.push_back(CaptureShowState());
        }
        return states;
    }
};

TEST_F(FixedStepTest, TheStateAtAShowTimeIsTheSameAtEveryFrameRate)
{
    const std::vector<ShowState> reference = Play(EvenFrames(60));
    ASSERT_EQ(reference.size(), Checkpoints.size());
    EXPECT_GT(reference[0].fieldCount, 0) << "the intro's field has particles";
    EXPECT_EQ(reference[3].steps, 240);
    EXPECT_NE(std::memcmp(reference[1].dancePositions.data(), reference[0].dancePositions.data(),
                          sizeof(D3DXVECTOR3) * reference[0].dancePositions.size()),
              0)
        << "the swarm moved in the box scene";
    for (const int rate : {5, 24, 144}) {
        const std::vector<ShowState> states = Play(EvenFrames(rate));
        ASSERT_EQ(states.size(), reference.size());
        for (size_t i = 0; i < states.size(); ++i)
            EXPECT_TRUE(states[i] == reference[i]) << rate << " frames a second, at " << reference[i].Seconds() << " s";
    }
    const std::vector<ShowState> uneven = Play(UnevenFrames());
    ASSERT_EQ(uneven.size(), reference.size());
    for (size_t i = 0; i < uneven.size(); ++i)
        EXPECT_TRUE(uneven[i] == reference[i]) << "uneven frames, at " << reference[i].Seconds() << " s";
}

TEST_F(FixedStepTest, ASecondShowInOneProcessRepeatsTheFirstBitForBit)
{
    const auto kernel = [] {
        const auto& post = ModuleHandler::Instance()->GetModuleAs<PostEffects>(PostEffects::ModuleName);
        return std::vector<D3DXVECTOR3>(post.aoKernel.begin(), post.aoKernel.end());
    };
    const std::vector<ShowState> first = Play(EvenFrames(30));
    const auto firstKernel = kernel();
    // What ran before leaves the generator anywhere.
    CrtRand::srand(987654321u);
    CrtRand::rand();
    const std::vector<ShowState> second = Play(EvenFrames(30));
    ASSERT_EQ(second.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_TRUE(second[i] == first[i]) << "at " << first[i].Seconds() << " s";
    const auto secondKernel = kernel();
    EXPECT_EQ(std::memcmp(firstKernel.data(), secondKernel.data(), sizeof(D3DXVECTOR3) * firstKernel.size()), 0);
}
