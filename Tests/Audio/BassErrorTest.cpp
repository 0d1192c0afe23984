// The audio library's refusals: each failing call returns its failure value and leaves BASS's
// numeric code for BASS_ErrorGetCode; the caller's memory is never written.
#include "AudioFixture.h"
#include "OggToneEncoder.h"

#include <algorithm>

using BassErrorTest = AudioFixture;

TEST_F(BassErrorTest, VersionIsTwoPointFour)
{
    EXPECT_EQ(BASS_GetVersion() >> 16, 0x0204u);
}

TEST_F(BassErrorTest, DeviceCallsCheckTheirState)
{
    BASS_INFO info{};
    EXPECT_FALSE(BASS_GetInfo(&info));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    const auto file = EncodeToneOgg(44100, {440.0}, 0.1, 0.5f);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, file.data(), 0, file.size(), 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Free());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);

    EXPECT_FALSE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    EXPECT_FALSE(BASS_Init(-2, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    EXPECT_FALSE(BASS_Init(0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_FALSE(BASS_Init(-1, 1000000, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_FALSE(BASS_Init(0, 44100, 0x8000, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);

    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
}

TEST_F(BassErrorTest, GlobalVolumesStayOnTheirScale)
{
    EXPECT_TRUE(BASS_SetConfig(BASS_CONFIG_GVOL_MUSIC, 0));
    EXPECT_TRUE(BASS_SetConfig(BASS_CONFIG_GVOL_SAMPLE, 10000));
    EXPECT_TRUE(BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, 5000));
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_MUSIC), 0u);
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_SAMPLE), 10000u);
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_STREAM), 5000u);

    EXPECT_FALSE(BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, 10001));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_STREAM), 5000u);
    EXPECT_FALSE(BASS_SetConfig(3, 1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
}

TEST_F(BassErrorTest, MemoryThatIsNotOggVorbisIsRefusedUntouched)
{
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));

    std::vector<unsigned char> garbage(4096);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<unsigned char>(i * 131 + 7);
    const auto copy = garbage;
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, garbage.data(), 0, garbage.size(), BASS_STREAM_PRESCAN), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
    EXPECT_EQ(garbage, copy);

    // Only the Ogg headers: a file that ends before any audio.
    const auto file = EncodeToneOgg(44100, {440.0}, 0.5, 0.5f);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, file.data(), 0, 58, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);

    EXPECT_EQ(BASS_StreamCreateFile(TRUE, file.data(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, nullptr, 0, 100, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, "music.ogg", 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
}

TEST_F(BassErrorTest, StreamIsReadAtItsOffsetAndATruncatedOneEndsEarly)
{
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const auto file = EncodeToneOgg(44100, {440.0}, 1.0, 0.5f);

    std::vector<unsigned char> padded(100 + file.size(), 0xAB);
    std::copy(file.begin(), file.end(), padded.begin() + 100);
    const HSTREAM whole = BASS_StreamCreateFile(TRUE, padded.data(), 100, file.size(), 0);
    ASSERT_NE(whole, 0u) << BASS_ErrorGetCode();
    EXPECT_EQ(BASS_ChannelGetLength(whole, BASS_POS_BYTE), 44100u * 2);

    // Cut mid-stream: the length is what the remaining pages hold, and it plays to that end.
    const HSTREAM cut = BASS_StreamCreateFile(TRUE, file.data(), 0, file.size() * 3 / 4, 0);
    ASSERT_NE(cut, 0u) << BASS_ErrorGetCode();
    const QWORD length = BASS_ChannelGetLength(cut, BASS_POS_BYTE);
    EXPECT_GT(length, 44100u * 2 / 4);
    EXPECT_LT(length, 44100u * 2);
    ASSERT_TRUE(BASS_ChannelPlay(cut, TRUE));
    ASSERT_TRUE(WaitUntil([&] { return BASS_ChannelIsActive(cut) == BASS_ACTIVE_STOPPED; }));
    EXPECT_EQ(BASS_ChannelGetPosition(cut, BASS_POS_BYTE), length);
}

TEST_F(BassErrorTest, HandlesThatNameNoStreamAreRefused)
{
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const auto file = EncodeToneOgg(44100, {440.0}, 0.5, 0.5f);
    const HSTREAM stream = BASS_StreamCreateFile(TRUE, file.data(), 0, file.size(), 0);
    ASSERT_NE(stream, 0u);

    for (DWORD bad : {DWORD{0}, stream + 1}) {
        EXPECT_FALSE(BASS_ChannelPlay(bad, TRUE));
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
        EXPECT_FALSE(BASS_ChannelPause(bad));
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
        EXPECT_FALSE(BASS_ChannelStop(bad));
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
        EXPECT_EQ(BASS_ChannelGetPosition(bad, BASS_POS_BYTE), static_cast<QWORD>(-1));
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    }

    EXPECT_FALSE(BASS_ChannelPause(stream));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOPLAY);
    EXPECT_TRUE(BASS_StreamFree(stream));
    EXPECT_FALSE(BASS_StreamFree(stream));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);

    // A new stream never takes a freed handle, and closing the device frees every stream.
    const HSTREAM next = BASS_StreamCreateFile(TRUE, file.data(), 0, file.size(), 0);
    EXPECT_NE(next, stream);
    ASSERT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_ChannelPlay(next, TRUE));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}
