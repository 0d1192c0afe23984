#include "Dsp/Constants.h"
#include "OggDecode.h"
#include "Output/VorbisEncoder.h"
#include "SignalMeasure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

synth::StereoBuffer Chord(long frames)
{
    synth::StereoBuffer audio;
    for (long n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) / synth::SampleRate;
        audio.left.push_back(static_cast<float>(0.3 * std::sin(2 * synth::Pi * 440 * t)));
        audio.right.push_back(static_cast<float>(0.3 * std::sin(2 * synth::Pi * 660 * t)));
    }
    return audio;
}

TEST(VorbisEncoderTest, SameSamplesGiveTheSameBytes)
{
    const auto audio = Chord(44100);
    const auto first = synth::EncodeVorbis(audio, {0.5f, 1234, "x"});
    const auto second = synth::EncodeVorbis(audio, {0.5f, 1234, "x"});
    EXPECT_EQ(first, second);
    EXPECT_NE(first, synth::EncodeVorbis(audio, {0.5f, 1235, "x"}));
}

TEST(VorbisEncoderTest, DecodesToTheSameLengthRateChannelsAndContent)
{
    const long frames = 44100 + 123; // not a whole number of encoder blocks
    const auto decoded = synthtest::DecodeOgg(synth::EncodeVorbis(Chord(frames), {0.5f, 77, "t"}));
    EXPECT_EQ(decoded.rate, 44100);
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.serial, 77);
    ASSERT_EQ(static_cast<long>(decoded.left.size()), frames);
    const std::vector<float> left(decoded.left.begin(), decoded.left.begin() + 44100);
    const std::vector<float> right(decoded.right.begin(), decoded.right.begin() + 44100);
    EXPECT_NEAR(synthtest::AmplitudeAt(left, 440), 0.3, 0.01);
    EXPECT_NEAR(synthtest::AmplitudeAt(right, 660), 0.3, 0.01);
    EXPECT_LT(synthtest::AmplitudeAt(left, 660), 0.01); // channels not swapped or mixed
}

} // namespace
