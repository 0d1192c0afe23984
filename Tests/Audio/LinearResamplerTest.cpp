// Rate conversion of the stream data: equal rates pass frames through, other rates interpolate and
// keep count of the source frames played.
#include "Platform/Audio/detail/LinearResampler.h"

#include <gtest/gtest.h>

using bass::detail::LinearResampler;

namespace {

// A source of n frames: left = index, right = -index.
LinearResampler::FrameSource Ramp(size_t n)
{
    auto index = std::make_shared<size_t>(0);
    return [index, n](float* frame) {
        if (*index == n)
            return false;
        frame[0] = static_cast<float>(*index);
        frame[1] = -static_cast<float>(*index);
        ++*index;
        return true;
    };
}

std::vector<float> ProduceAll(LinearResampler& resampler, const LinearResampler::FrameSource& source, size_t chunk)
{
    std::vector<float> out;
    std::vector<float> buffer(2 * chunk);
    while (!resampler.Finished()) {
        const size_t produced = resampler.Produce(buffer.data(), chunk, source);
        out.insert(out.end(), buffer.begin(), buffer.begin() + 2 * produced);
    }
    return out;
}

} // namespace

TEST(LinearResamplerTest, EqualRatesPassEveryFrameThroughAcrossChunks)
{
    LinearResampler resampler(44100, 44100);
    const auto out = ProduceAll(resampler, Ramp(10), 3);
    ASSERT_EQ(out.size(), 20u);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(out[2 * i], static_cast<float>(i));
        EXPECT_EQ(out[2 * i + 1], -static_cast<float>(i));
    }
    EXPECT_EQ(resampler.Consumed(), 10u);
}

TEST(LinearResamplerTest, DoublingTheRateInterpolatesBetweenFrames)
{
    LinearResampler resampler(22050, 44100);
    const auto out = ProduceAll(resampler, Ramp(4), 5);
    const std::vector<float> left{0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f, 3.0f};
    ASSERT_EQ(out.size(), 2 * left.size());
    for (size_t i = 0; i < left.size(); ++i)
        EXPECT_FLOAT_EQ(out[2 * i], left[i]) << i;
    EXPECT_EQ(resampler.Consumed(), 4u);
}

TEST(LinearResamplerTest, HalvingTheRateSkipsEveryOtherFrameAndResetStartsOver)
{
    LinearResampler resampler(48000, 24000);
    auto out = ProduceAll(resampler, Ramp(6), 4);
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(out[2], 2.0f);
    EXPECT_EQ(out[4], 4.0f);
    EXPECT_EQ(resampler.Consumed(), 6u);

    resampler.Reset();
    EXPECT_FALSE(resampler.Finished());
    EXPECT_EQ(resampler.Consumed(), 0u);
    out = ProduceAll(resampler, Ramp(2), 4);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], 0.0f);
}

TEST(LinearResamplerTest, EmptySourceFinishesWithoutOutput)
{
    LinearResampler resampler(44100, 48000);
    float frame[2];
    EXPECT_EQ(resampler.Produce(frame, 1, Ramp(0)), 0u);
    EXPECT_TRUE(resampler.Finished());
    EXPECT_EQ(resampler.Consumed(), 0u);
}
