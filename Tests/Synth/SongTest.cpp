// Checks on the soundtrack as the build rendered it into the archive's staging folder.
#include "OggDecode.h"
#include "SignalMeasure.h"

#include "Framework/FileSys/ArchiveWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double Rate = 44100.0;
constexpr double SecondsPerBeat = 60.0 / 128.0;

class SongTest : public testing::Test {
protected:
    static void SetUpTestSuite() { song = new synthtest::DecodedAudio(synthtest::DecodeOgg(ReadWholeFile(QL_SONG))); }
    static void TearDownTestSuite()
    {
        delete song;
        song = nullptr;
    }

    // The kick's band: mono, through two one-pole low-passes at 150 Hz.
    static std::vector<float> LowBand()
    {
        const float a = static_cast<float>(std::exp(-2.0 * 3.141592653589793 * 150.0 / Rate));
        std::vector<float> out(song->left.size());
        float first = 0.0f, second = 0.0f;
        for (size_t n = 0; n < out.size(); ++n) {
            first = a * first + (1.0f - a) * 0.5f * (song->left[n] + song->right[n]);
            second = a * second + (1.0f - a) * first;
            out[n] = second;
        }
        return out;
    }

    // A kick at a beat: within 60 ms after it the low band reaches a loud level (its loudest 5 ms)
    // and stands well above the 55 ms before the beat.
    struct Onset {
        double levelDb, riseDb;
        bool IsKick() const { return levelDb > -20.0 && riseDb > 6.0; }
    };
    static Onset OnsetAt(const std::vector<float>& low, int beat)
    {
        const long at = std::lround(beat * SecondsPerBeat * Rate);
        const long frame = std::lround(0.005 * Rate);
        double loudest = 0.0;
        for (long from = at; from < at + 12 * frame; from += frame)
            loudest = std::max(loudest, synthtest::Rms(low, from, from + frame));
        const double before = synthtest::Rms(low, std::max(0L, at - 12 * frame), at - frame);
        const auto db = [](double x) { return 20.0 * std::log10(std::max(x, 1e-9)); };
        return {db(loudest), db(loudest) - db(before)};
    }

    static synthtest::DecodedAudio* song;
};

synthtest::DecodedAudio* SongTest::song = nullptr;

TEST_F(SongTest, DecodesTo44100HzStereoOf135To136Seconds)
{
    EXPECT_EQ(song->rate, 44100);
    EXPECT_EQ(song->channels, 2);
    const double seconds = static_cast<double>(song->left.size()) / Rate;
    EXPECT_GE(seconds, 135.0);
    EXPECT_LE(seconds, 136.0);
}

TEST_F(SongTest, LastHalfSecondIsSilent)
{
    const long from = static_cast<long>(song->left.size()) - static_cast<long>(0.5 * Rate);
    float peak = 0.0f;
    for (long n = from; n < static_cast<long>(song->left.size()); ++n)
        peak = std::max({peak, std::abs(song->left[n]), std::abs(song->right[n])});
    EXPECT_LT(20.0 * std::log10(std::max(peak, 1e-12f)), -60.0);
}

TEST_F(SongTest, SamplesStayUnderMinusOneDecibel)
{
    float peak = 0.0f;
    for (size_t n = 0; n < song->left.size(); ++n)
        peak = std::max({peak, std::abs(song->left[n]), std::abs(song->right[n])});
    EXPECT_LT(20.0 * std::log10(peak), -1.0);
    EXPECT_GT(20.0 * std::log10(peak), -6.0); // and the track is not quiet either
}

TEST_F(SongTest, KickLandsOnEveryBeatWhereTheDrumsPlay)
{
    const auto low = LowBand();
    for (auto [first, last] : {std::pair{8, 41}, std::pair{54, 63}}) {
        for (int beat = first * 4; beat < (last + 1) * 4; ++beat) {
            const Onset onset = OnsetAt(low, beat);
            EXPECT_TRUE(onset.IsKick()) << "no kick on beat " << beat % 4 << " of bar " << beat / 4 << ": low band at "
                                        << onset.levelDb << " dBFS, " << onset.riseDb << " dB above the moment before";
        }
    }
}

TEST_F(SongTest, IntroAndOutroHaveNoKick)
{
    // The same detector must stay quiet where no drums play, or the test above proves nothing.
    const auto low = LowBand();
    for (auto [first, last] : {std::pair{0, 7}, std::pair{64, 70}}) {
        for (int beat = first * 4; beat < (last + 1) * 4; ++beat)
            EXPECT_FALSE(OnsetAt(low, beat).IsKick()) << "a kick on beat " << beat % 4 << " of bar " << beat / 4;
    }
}

} // namespace
