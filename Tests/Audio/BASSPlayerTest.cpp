// The soundtrack player over the real audio library: the call order the framework relies on, its
// exact messages, the silent fallback and the buffer's lifetime.
#include "AudioFixture.h"
#include "OggToneEncoder.h"

#include "Framework/BASSPlayer/BASSPlayer.h"
#include "Framework/LiveReload/ReloadHub.h"

#include <cstdlib>
#include <memory>
#include <sstream>

namespace {

DWORD VersionTwoPointThree()
{
    return 0x02030000;
}

} // namespace

class BASSPlayerTest : public AudioFixture {
protected:
    void TearDown() override
    {
        player.reset();
        AudioFixture::TearDown();
    }

    void MountMusic(const std::vector<unsigned char>& music)
    {
        ArchiveWriter writer;
        writer.Add(BASSPlayer::MusicName, music);
        Mount(writer);
    }

    std::unique_ptr<BASSPlayer> player;
};

TEST_F(BASSPlayerTest, IsASingleton)
{
    player = std::make_unique<BASSPlayer>();
    EXPECT_EQ(MessageOf([] { BASSPlayer again; }), "BASSPlayer is a singleton!");
    EXPECT_EQ(BASSPlayer::Instance(), player.get());
    EXPECT_EQ(player->LatencyMilliseconds(), 0u);
    EXPECT_EQ(player->Stream(), 0u);
}

TEST_F(BASSPlayerTest, OlderLibraryIsRefusedBeforeAnyOtherCall)
{
    player = std::make_unique<BASSPlayer>(&VersionTwoPointThree);
    EXPECT_EQ(MessageOf([&] { player->OpenDevice(nullptr); }), "Wrong BASS .dll for this .lib");
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_STREAM), BASS_MAX_GVOL) << "no volume was set";
    BASS_INFO info{};
    EXPECT_FALSE(BASS_GetInfo(&info));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT) << "no device was opened";
}

TEST_F(BASSPlayerTest, PlaysTheSoundtrackOnTheDefaultDeviceAtHalfVolume)
{
    MountMusic(EncodeToneOgg(44100, {440.0, 440.0}, 2.0, 0.5f));
    player = std::make_unique<BASSPlayer>();
    player->OpenDevice(nullptr);
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_MUSIC), 5000u);
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_SAMPLE), 5000u);
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_STREAM), 5000u);

    player->Init();
    player->Play();
    EXPECT_EQ(BASS_ChannelIsActive(player->Stream()), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(BASS_ChannelGetLength(player->Stream(), BASS_POS_BYTE), 2u * 44100 * 4);

    BASS_INFO info{};
    ASSERT_TRUE(BASS_GetInfo(&info));
    EXPECT_GT(player->LatencyMilliseconds(), 0u) << "a real device holds audio before it is heard";
    EXPECT_EQ(player->LatencyMilliseconds(), info.latency);
    EXPECT_EQ(player->Info().freq, 44100u);
}

TEST_F(BASSPlayerTest, FallsBackToTheSilentDeviceWhoseStreamStillAdvances)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    MountMusic(EncodeToneOgg(44100, {440.0}, 2.0, 0.5f));
    player = std::make_unique<BASSPlayer>();
    player->OpenDevice(nullptr);
    player->Init();
    player->Play();

    EXPECT_EQ(player->LatencyMilliseconds(), 0u);
    const HSTREAM stream = player->Stream();
    EXPECT_TRUE(WaitUntil([&] { return BASS_ChannelGetPosition(stream, BASS_POS_BYTE) > 44100 / 10; }));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);

    // What the framework does once its loop has ended.
    EXPECT_TRUE(BASS_ChannelPause(stream));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED);
}

TEST_F(BASSPlayerTest, MissingOrBrokenMusicNamesTheLibraryErrorCode)
{
    ArchiveWriter writer;
    writer.Add("Data\\other.ogg", EncodeToneOgg(44100, {440.0}, 0.1, 0.5f));
    Mount(writer);
    player = std::make_unique<BASSPlayer>();
    player->OpenDevice(nullptr);
    EXPECT_EQ(MessageOf([&] { player->Init(); }), "[BASSPlayer::Init] Could not create stream.  BASS error code 2.");
    EXPECT_EQ(player->Stream(), 0u);
}

TEST_F(BASSPlayerTest, MusicThatIsNotOggVorbisIsRefused)
{
    MountMusic(Bytes("RIFF....WAVEfmt not a vorbis file at all"));
    player = std::make_unique<BASSPlayer>();
    player->OpenDevice(nullptr);
    EXPECT_EQ(MessageOf([&] { player->Init(); }), "[BASSPlayer::Init] Could not create stream.  BASS error code 41.");
}

TEST_F(BASSPlayerTest, PlayFailureNamesTheLibraryErrorCode)
{
    MountMusic(EncodeToneOgg(44100, {440.0}, 0.5, 0.5f));
    player = std::make_unique<BASSPlayer>();
    player->OpenDevice(nullptr);
    player->Init();
    ASSERT_TRUE(BASS_Free()); // the stream goes with the device
    EXPECT_EQ(MessageOf([&] { player->Play(); }), "[BASSPlayer::Play] Could not play stream.  BASS error code 5.");
}

TEST_F(BASSPlayerTest, ReleaseFreesTheStreamOnceAndMayBeRepeated)
{
    MountMusic(EncodeToneOgg(44100, {440.0}, 2.0, 0.5f));
    player = std::make_unique<BASSPlayer>();
    player->OpenDevice(nullptr);
    player->Init();
    player->Play();
    const HSTREAM stream = player->Stream();

    player->Release();
    EXPECT_EQ(player->Stream(), 0u);
    EXPECT_FALSE(BASS_ChannelStop(stream));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE) << "the stream was freed";

    player->Release();
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE) << "the second release's calls fail harmlessly";

    // Music never enabled: only construction, Release and destruction.
    player.reset();
    player = std::make_unique<BASSPlayer>();
    player->Release();
}

TEST_F(BASSPlayerTest, InitAgainReplacesTheStreamBeforeItsBuffer)
{
    MountMusic(EncodeToneOgg(44100, {440.0}, 2.0, 0.5f));
    player = std::make_unique<BASSPlayer>();
    player->OpenDevice(nullptr);
    player->Init();
    player->Play();
    const HSTREAM first = player->Stream();
    player->Init();
    player->Play();
    EXPECT_NE(player->Stream(), first);
    EXPECT_EQ(BASS_ChannelIsActive(first), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_TRUE(WaitUntil([&] { return BASS_ChannelGetPosition(player->Stream(), BASS_POS_BYTE) > 0; }));
}

TEST_F(BASSPlayerTest, MusicSavedUnderARunningShowPlaysOnFromTheSamePlaceAndBrokenMusicLeavesTheOld)
{
    std::ostringstream reports;
    ReloadHub hub(reports);
    MountMusic(EncodeToneOgg(44100, {440.0}, 2.0, 0.5f));
    fileSys->SetLooseFolder("loose");
    std::filesystem::create_directories("loose/Data");
    player = std::make_unique<BASSPlayer>();
    player->OpenDevice(nullptr);
    player->Init();
    player->Play();
    ASSERT_TRUE(BASS_ChannelSetPosition(player->Stream(), BASS_ChannelSeconds2Bytes(player->Stream(), 1.0), BASS_POS_BYTE));
    const HSTREAM first = player->Stream();

    WriteWholeFile("loose/Data/tindrevik_invtro.ogg", EncodeToneOgg(44100, {880.0}, 3.0, 0.5f));
    hub.Reload({BASSPlayer::MusicName});
    const HSTREAM second = player->Stream();
    ASSERT_NE(second, first);
    EXPECT_EQ(BASS_ChannelGetLength(second, BASS_POS_BYTE), 3u * 44100 * 2) << "the new music, three seconds of one channel";
    EXPECT_EQ(BASS_ChannelIsActive(second), BASS_ACTIVE_PLAYING);
    const double at = BASS_ChannelBytes2Seconds(second, BASS_ChannelGetPosition(second, BASS_POS_BYTE));
    EXPECT_GE(at, 1.0);
    EXPECT_LT(at, 1.5) << "it goes on from where the old one was";
    EXPECT_FALSE(BASS_ChannelStop(first)) << "the old stream is freed";

    WriteWholeFile("loose/Data/tindrevik_invtro.ogg", Bytes("OggS but not really"));
    hub.Reload({BASSPlayer::MusicName});
    EXPECT_EQ(player->Stream(), second);
    EXPECT_EQ(BASS_ChannelIsActive(second), BASS_ACTIVE_PLAYING);
    ASSERT_EQ(hub.Problems().size(), 1u);
    EXPECT_EQ(hub.Problems()[0].file, BASSPlayer::MusicName);

    // Saved again and again while paused, good and broken by turns: one stream stays, at the
    // place, and the others and their buffers are freed (the sanitizers' leak check counts them).
    ASSERT_TRUE(BASS_ChannelPause(player->Stream()));
    const QWORD place = BASS_ChannelGetPosition(player->Stream(), BASS_POS_BYTE);
    const std::vector<unsigned char> good = EncodeToneOgg(44100, {660.0}, 2.5, 0.5f);
    for (int round = 0; round < 200; ++round) {
        WriteWholeFile("loose/Data/tindrevik_invtro.ogg", round % 2 ? good : Bytes("OggS but not really"));
        hub.Reload({BASSPlayer::MusicName});
    }
    EXPECT_EQ(BASS_ChannelGetLength(player->Stream(), BASS_POS_BYTE), 5u * 44100) << "the last good save, two and a half seconds";
    EXPECT_NEAR(BASS_ChannelBytes2Seconds(player->Stream(), BASS_ChannelGetPosition(player->Stream(), BASS_POS_BYTE)),
                BASS_ChannelBytes2Seconds(player->Stream(), place), 0.01);
    EXPECT_TRUE(hub.Problems().empty());
}
