#include "Dsp/Saturation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SaturationTest, FollowsTanhRisesSteadilyAndNeverPassesFullScale)
{
    float previous = synth::SoftClip(-10.0f);
    for (float x = -10.0f; x <= 10.0f; x += 0.01f) {
        const float y = synth::SoftClip(x);
        ASSERT_NEAR(y, std::tanh(x), 0.025f) << "at " << x;
        ASSERT_GE(y, previous) << "falls at " << x;
        ASSERT_LE(std::abs(y), 1.0f);
        ASSERT_FLOAT_EQ(synth::SoftClip(-x), -y); // odd: no DC from a symmetric signal
        previous = y;
    }
    EXPECT_FLOAT_EQ(synth::SoftClip(3.0f), 1.0f);
}

} // namespace
