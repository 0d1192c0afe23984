#include "Dsp/Constants.h"
#include "Dsp/Envelope.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using synth::AdsrTimes;
using synth::Envelope;

std::vector<float> Advance(Envelope& envelope, int samples)
{
    std::vector<float> levels;
    for (int n = 0; n < samples; ++n)
        levels.push_back(envelope.Next());
    return levels;
}

TEST(EnvelopeTest, AttackPeaksExactlyAtItsTimeAndDecayLandsOnSustainOnTime)
{
    // 10 ms attack = 441 samples, 100 ms decay = 4410 samples.
    Envelope envelope(AdsrTimes{0.01f, 0.1f, 0.25f, 0.2f});
    const auto levels = Advance(envelope, 441 + 4410 + 100);
    EXPECT_LT(levels[439], 1.0f);
    EXPECT_FLOAT_EQ(levels[440], 1.0f); // the 441st sample
    EXPECT_NEAR(levels[220], 0.5f, 0.01f);
    EXPECT_GT(levels[441 + 4408], 0.25f);
    EXPECT_FLOAT_EQ(levels[441 + 4409], 0.25f);
    EXPECT_FLOAT_EQ(levels.back(), 0.25f);
    // Decay falls faster at first, as an exponential does: half way it is well below the middle.
    EXPECT_LT(levels[441 + 2205], 0.25f + 0.75f * 0.2f);
    for (size_t n = 441; n < levels.size(); ++n)
        ASSERT_LE(levels[n], levels[n - 1]) << "decay rose at sample " << n;
}

TEST(EnvelopeTest, ReleaseReachesSilenceExactlyAfterItsTimeAndTheVoiceIsFinished)
{
    Envelope envelope(AdsrTimes{0.0f, 0.001f, 0.5f, 0.05f});
    Advance(envelope, 1000);
    envelope.NoteOff();
    const auto levels = Advance(envelope, 2205);
    EXPECT_LT(levels[0], 0.5f);
    EXPECT_GT(levels[2203], 0.0f);
    EXPECT_FALSE(envelope.Finished());
    EXPECT_EQ(levels[2204], 0.0f);
    envelope.Next();
    EXPECT_TRUE(envelope.Finished());
}

TEST(EnvelopeTest, NoteOffDuringTheAttackReleasesFromTheLevelReached)
{
    Envelope envelope(AdsrTimes{0.1f, 0.1f, 1.0f, 0.01f});
    const auto attack = Advance(envelope, 1000); // under a quarter of the 4410-sample attack
    envelope.NoteOff();
    const float first = envelope.Next();
    EXPECT_LT(first, attack.back());
    EXPECT_GT(first, 0.8f * attack.back());
    const auto rest = Advance(envelope, 441);
    EXPECT_EQ(rest.back(), 0.0f);
}

TEST(EnvelopeTest, ZeroAttackStartsAtFullLevel)
{
    Envelope envelope(AdsrTimes{0.0f, 0.5f, 0.0f, 0.1f});
    EXPECT_FLOAT_EQ(envelope.Next(), 1.0f);
}

} // namespace
