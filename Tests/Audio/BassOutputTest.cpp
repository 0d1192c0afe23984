// What the audio library plays: decoded tones reach SDL's disk driver at the right pitch, length
// and level, and the silent device keeps streams moving at the pace of the wall clock.
#include "AudioFixture.h"
#include "OggToneEncoder.h"
#include "ToneAnalysis.h"

#include <cmath>
#include <thread>

namespace {

constexpr float Amplitude = 0.8f;
constexpr float Threshold = 0.05f;

// Plays the file on the default device until it ends; returns the rate the device ran at.
long PlayToTheEnd(const std::vector<unsigned char>& file)
{
    EXPECT_TRUE(BASS_Init(-1, 44100, BASS_DEVICE_LATENCY, nullptr, nullptr)) << BASS_ErrorGetCode();
    BASS_INFO info{};
    EXPECT_TRUE(BASS_GetInfo(&info));
    const HSTREAM stream = BASS_StreamCreateFile(TRUE, file.data(), 0, file.size(), BASS_STREAM_PRESCAN);
    EXPECT_NE(stream, 0u) << BASS_ErrorGetCode();
    EXPECT_TRUE(BASS_ChannelPlay(stream, TRUE));
    EXPECT_TRUE(WaitUntil([&] { return BASS_ChannelIsActive(stream) == BASS_ACTIVE_STOPPED; }));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), BASS_ChannelGetLength(stream, BASS_POS_BYTE));
    // Let the tail of the mix reach the file before the device is closed.
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * info.minbuf));
    EXPECT_TRUE(BASS_Free());
    return static_cast<long>(info.freq);
}

} // namespace

using BassOutputTest = AudioFixture;

TEST_F(BassOutputTest, StereoToneIsHeardAtItsPitchLengthAndTheStreamVolume)
{
    const auto file = EncodeToneOgg(44100, {440.0, 660.0}, 0.5, Amplitude);
    ASSERT_TRUE(BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, 5000));
    const long rate = PlayToTheEnd(file);
    ASSERT_EQ(rate, 44100);

    const auto output = DiskOutput();
    const ToneMeasure left = MeasureTone(output, 2, 0, rate, Threshold);
    const ToneMeasure right = MeasureTone(output, 2, 1, rate, Threshold);
    EXPECT_NEAR(left.frequency, 440.0, 4.0);
    EXPECT_NEAR(right.frequency, 660.0, 6.0);
    EXPECT_NEAR(left.seconds, 0.5, 0.01);
    // Half the stream volume: a sine of peak 0.4.
    EXPECT_NEAR(left.peak, 0.4, 0.04);
    EXPECT_NEAR(left.rms, 0.4 / std::sqrt(2.0), 0.03);
    EXPECT_NEAR(right.rms, 0.4 / std::sqrt(2.0), 0.03);
}

TEST_F(BassOutputTest, MonoStreamAtAnotherRateIsResampledToTheDevice)
{
    const auto file = EncodeToneOgg(22050, {440.0}, 0.5, Amplitude);
    const long rate = PlayToTheEnd(file);
    ASSERT_EQ(rate, 44100);

    const auto output = DiskOutput();
    const ToneMeasure left = MeasureTone(output, 2, 0, rate, Threshold);
    const ToneMeasure right = MeasureTone(output, 2, 1, rate, Threshold);
    EXPECT_NEAR(left.frequency, 440.0, 4.0);
    EXPECT_NEAR(left.seconds, 0.5, 0.01);
    EXPECT_NEAR(left.rms, Amplitude / std::sqrt(2.0), 0.05);
    EXPECT_EQ(left.first, right.first);
    EXPECT_NEAR(right.rms, left.rms, 1e-6) << "mono plays on both channels";
}

TEST_F(BassOutputTest, DefaultDeviceReportsItsBufferAsLatency)
{
    ASSERT_TRUE(BASS_Init(-1, 44100, BASS_DEVICE_LATENCY, nullptr, nullptr));
    BASS_INFO info{};
    ASSERT_TRUE(BASS_GetInfo(&info));
    EXPECT_EQ(info.freq, 44100u);
    EXPECT_EQ(info.speakers, 2u);
    EXPECT_EQ(info.initflags, BASS_DEVICE_LATENCY);
    EXPECT_GT(info.latency, 0u);
    EXPECT_LT(info.latency, 500u);
}

TEST_F(BassOutputTest, SilentDeviceAdvancesStreamsWithTheWallClock)
{
    const auto file = EncodeToneOgg(44100, {440.0}, 3.0, Amplitude);
    const auto opened = std::chrono::steady_clock::now();
    ASSERT_TRUE(BASS_Init(0, 44100, BASS_DEVICE_LATENCY, nullptr, nullptr));
    BASS_INFO info{};
    ASSERT_TRUE(BASS_GetInfo(&info));
    EXPECT_EQ(info.latency, 0u);
    EXPECT_EQ(info.freq, 44100u);

    const HSTREAM stream = BASS_StreamCreateFile(TRUE, file.data(), 0, file.size(), BASS_STREAM_PRESCAN);
    ASSERT_NE(stream, 0u);
    const QWORD bytesPerSecond = 44100 * 2;
    EXPECT_EQ(BASS_ChannelGetLength(stream, BASS_POS_BYTE), 3 * bytesPerSecond);
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 0u);

    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    ASSERT_TRUE(WaitUntil([&] { return BASS_ChannelGetPosition(stream, BASS_POS_BYTE) >= bytesPerSecond / 4; }));
    // Never ahead of the time since the device opened: it is paced, not decoding flat out.
    const QWORD position = BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - opened).count();
    EXPECT_LE(static_cast<double>(position), elapsed * static_cast<double>(bytesPerSecond) + 2.0);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);

    ASSERT_TRUE(BASS_ChannelPause(stream));
    const QWORD paused = BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), paused);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED);

    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return BASS_ChannelGetPosition(stream, BASS_POS_BYTE) > paused; }));
    EXPECT_LT(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 3 * bytesPerSecond);
}

TEST_F(BassOutputTest, StreamStopsAtItsEndAndRestartsFromTheBeginning)
{
    const auto file = EncodeToneOgg(44100, {440.0}, 0.5, Amplitude);
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    BASS_INFO info{};
    ASSERT_TRUE(BASS_GetInfo(&info));
    EXPECT_EQ(info.latency, 0u) << "latency is only measured when asked for";

    const HSTREAM stream = BASS_StreamCreateFile(TRUE, file.data(), 0, file.size(), 0);
    ASSERT_NE(stream, 0u);
    const QWORD length = BASS_ChannelGetLength(stream, BASS_POS_BYTE);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return BASS_ChannelIsActive(stream) == BASS_ACTIVE_STOPPED; }));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), length);
    EXPECT_FALSE(BASS_ChannelPause(stream));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOPLAY);

    // Once ended, playing again starts over even without asking for a restart.
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(BASS_ChannelPause(stream));
    EXPECT_LT(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), length);
}

TEST_F(BassOutputTest, SeekingMovesTheDecoderAndThePositionTogether)
{
    const auto file = EncodeToneOgg(44100, {440.0}, 3.0, Amplitude);
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = BASS_StreamCreateFile(TRUE, file.data(), 0, file.size(), 0);
    ASSERT_NE(stream, 0u);
    const QWORD length = BASS_ChannelGetLength(stream, BASS_POS_BYTE);

    EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, 2.5), 110250u * 2);
    EXPECT_DOUBLE_EQ(BASS_ChannelBytes2Seconds(stream, 110250u * 2 + 1), 2.5);
    EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, -1.0), static_cast<QWORD>(-1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);

    EXPECT_FALSE(BASS_ChannelSetPosition(stream, length + 2, BASS_POS_BYTE));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_POSITION);
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, BASS_ChannelSeconds2Bytes(stream, 2.5) + 1, BASS_POS_BYTE));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 110250u * 2) << "rounded down to a frame";

    // The last half second plays from there and the stream ends exactly at its length.
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return BASS_ChannelIsActive(stream) == BASS_ACTIVE_STOPPED; }));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), length);
}

TEST_F(BassOutputTest, ADecodingChannelIsReadAtTheFilesRateFromWhereItIsMovedAndNeverPlayed)
{
    const auto file = EncodeToneOgg(22050, {440.0}, 1.0, Amplitude);
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const HSTREAM stream =
        BASS_StreamCreateFile(TRUE, file.data(), 0, file.size(), BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT);
    ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
    BASS_CHANNELINFO info{};
    ASSERT_TRUE(BASS_ChannelGetInfo(stream, &info));
    EXPECT_EQ(info.freq, 22050u) << "the file's own rate, not the device's";
    EXPECT_EQ(info.chans, 2u);
    EXPECT_FALSE(BASS_ChannelPlay(stream, FALSE));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DECODE);
    float frame[2];
    EXPECT_EQ(BASS_ChannelGetData(stream, frame, sizeof frame), static_cast<DWORD>(-1)) << "16-bit is not offered";
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);

    // From half a second on: the rest of the tone, mono on both sides, then the end.
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, BASS_ChannelSeconds2Bytes(stream, 0.5), BASS_POS_BYTE));
    std::vector<float> rest(2 * 22050);
    const DWORD bytes = BASS_ChannelGetData(stream, rest.data(), DWORD(rest.size() * sizeof(float)) | BASS_DATA_FLOAT);
    ASSERT_EQ(bytes, 11025u * 2 * sizeof(float));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), BASS_ChannelGetLength(stream, BASS_POS_BYTE));
    rest.resize(bytes / sizeof(float));
    const ToneMeasure left = MeasureTone(rest, 2, 0, 22050, Threshold);
    EXPECT_NEAR(left.frequency, 440.0, 2.0);
    EXPECT_LT(left.first, 50u) << "the tone sounds from the moved position on";
    for (size_t i = 0; i < rest.size(); i += 2)
        ASSERT_EQ(rest[i], rest[i + 1]);
    EXPECT_EQ(BASS_ChannelGetData(stream, frame, sizeof frame | BASS_DATA_FLOAT), static_cast<DWORD>(-1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ENDED);
    EXPECT_TRUE(BASS_Free());
}
