#include "Support/ArchiveFixture.h"

#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "sync/device.h"
#include "sync/trackfile.h"

#include <cmath>

namespace {

SyncTrack TwoKeys(int32_t type, float a = 0.0f, float b = 1.0f, uint32_t lastRow = 10)
{
    SyncTrack track("t");
    track.keys[0] = SyncKey{a, type};
    track.keys[lastRow] = SyncKey{b, SyncKey::Step};
    return track;
}

} // namespace

TEST(SyncTrackTest, EmptyAndSingleKeyTracksAreConstant)
{
    SyncTrack empty("empty");
    for (float t : {-5.0f, 0.0f, 3.5f, 1e9f})
        EXPECT_EQ(empty.valueAt(t), 0.0f);

    SyncTrack single("single");
    single.keys[100] = SyncKey{5.0f, SyncKey::Linear};
    for (float t : {0.0f, 100.0f, 10000.0f, 4e9f, 1e30f})
        EXPECT_EQ(single.valueAt(t), 5.0f) << t;
}

TEST(SyncTrackTest, InterpolatesByTheKindOfTheLowerKey)
{
    EXPECT_FLOAT_EQ(TwoKeys(SyncKey::Linear).valueAt(5.0f), 0.5f);
    EXPECT_FLOAT_EQ(TwoKeys(SyncKey::Linear).valueAt(2.5f), 0.25f);
    EXPECT_FLOAT_EQ(TwoKeys(SyncKey::Cosine).valueAt(5.0f), 0.5f);
    EXPECT_NEAR(TwoKeys(SyncKey::Cosine).valueAt(2.5f), (1.0 - std::cos(3.141592653589793 / 4)) * 0.5, 1e-7);
    EXPECT_FLOAT_EQ(TwoKeys(SyncKey::Quadratic).valueAt(5.0f), 0.25f);
    for (float t : {0.0f, 3.0f, 9.999f})
        EXPECT_EQ(TwoKeys(SyncKey::Step, 3.0f).valueAt(t), 3.0f) << t;
    for (int32_t type : {0, 1, 2, 3})
        for (float t : {10.0f, 11.0f, 500.0f})
            EXPECT_EQ(TwoKeys(type).valueAt(t), 1.0f) << type << " at " << t;
}

TEST(SyncTrackTest, UsesTheFractionalTimeWithinARow)
{
    SyncTrack track = TwoKeys(SyncKey::Linear, 0.0f, 1.0f, 1);
    EXPECT_FLOAT_EQ(track.valueAt(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(track.valueAt(0.25f), 0.25f);
}

TEST(SyncTrackTest, ComputesInSinglePrecisionAfterNarrowingTheFactor)
{
    // (b - a) * factor + a in float, the factor rounded to float first.
    SyncTrack track = TwoKeys(SyncKey::Linear, 0.1f, 123.456f, 7);
    const float time = 3.3f;
    const float factor = static_cast<float>((double(time) - 0.0) / 7.0);
    EXPECT_EQ(track.valueAt(time), (123.456f - 0.1f) * factor + 0.1f);
}

TEST(SyncTrackTest, KeysBetweenFarApartRowsInterpolateOverTheUnsignedDistance)
{
    SyncTrack track("far");
    track.keys[10] = SyncKey{0.0f, SyncKey::Linear};
    track.keys[4000000000u] = SyncKey{1.0f, SyncKey::Step};
    EXPECT_NEAR(track.valueAt(2000000005.0f), 0.5f, 1e-6);
}

TEST(SyncTrackTest, NegativeAndNanTimesReadTheFirstKey)
{
    SyncTrack track = TwoKeys(SyncKey::Linear, 2.0f, 7.0f);
    EXPECT_EQ(track.valueAt(-0.04f), 2.0f);
    EXPECT_EQ(track.valueAt(-1e20f), 2.0f);
    EXPECT_EQ(track.valueAt(std::nanf("")), 2.0f);
}

TEST(SyncTrackTest, UnknownInterpolationHoldsTheLowerValue)
{
    EXPECT_EQ(TwoKeys(7, 4.0f).valueAt(5.0f), 4.0f);
    EXPECT_EQ(TwoKeys(-1, 4.0f).valueAt(5.0f), 4.0f);
}

TEST(TrackFileTest, DecodesPackedRecordsAndStopsAtTheLastWholeOne)
{
    const std::vector<TrackRecord> records = {{7, 1.5f, 1}, {3, -2.0f, -1}, {7, 9.0f, 3}};
    auto bytes = EncodeTrackRecords(records);
    ASSERT_EQ(bytes.size(), 4u + 27u);
    EXPECT_EQ(bytes[4 + 9 + 8], 0xFF) << "kinds are signed bytes";

    const auto decoded = DecodeTrackRecords(bytes.data(), bytes.size());
    ASSERT_EQ(decoded.size(), 3u);
    EXPECT_EQ(decoded[1].row, 3u);
    EXPECT_EQ(decoded[1].value, -2.0f);
    EXPECT_EQ(decoded[1].type, -1);

    bytes[0] = 200; // claims 200 records, holds three
    bytes.resize(bytes.size() - 1);
    EXPECT_EQ(DecodeTrackRecords(bytes.data(), bytes.size()).size(), 2u);
    EXPECT_TRUE(DecodeTrackRecords(bytes.data(), 3).empty());
}

class SyncDeviceTest : public ArchiveFixture {
protected:
    void AddTrack(const std::string& name, const std::vector<TrackRecord>& records)
    {
        writer.Add("Data\\sync_" + name + ".track", EncodeTrackRecords(records));
    }

    ArchiveWriter writer;
    DemoSyncTimer timer;
};

TEST_F(SyncDeviceTest, LoadsEachTrackOnceAndLaterRecordsForARowWin)
{
    AddTrack("CamZOffset", {{7, 1.0f, 0}, {0, 5.0f, 1}, {7, 2.0f, 0}});
    Mount(writer);
    auto device = createSyncDevice("sync", &timer);
    ASSERT_TRUE(device);

    SyncTrack& track = device->trackByName("CamZOffset");
    EXPECT_EQ(track.keys.size(), 2u);
    EXPECT_EQ(track.keys.at(7).value, 2.0f);
    EXPECT_EQ(track.keys.at(0).type, SyncKey::Linear);

    std::filesystem::remove(FileSys::ArchivePath); // a second read would now fail
    EXPECT_EQ(&device->trackByName("CamZOffset"), &track);
    EXPECT_TRUE(device->update(12.0f));
}

TEST_F(SyncDeviceTest, MissingTrackNamesItsPathAndStaysListedEmpty)
{
    Mount(writer);
    auto device = createSyncDevice("sync", &timer);
    try {
        device->trackByName("ShakeSpeed");
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "loadTrack failed on Data\\sync_ShakeSpeed.track");
    }
    auto& player = static_cast<SyncFilePlayer&>(*device);
    ASSERT_EQ(player.tracks.getTrackIndex("ShakeSpeed"), 0);
    EXPECT_TRUE(player.tracks.trackAt(0).keys.empty());
    EXPECT_EQ(player.tracks.getTrackIndex("shakespeed"), -1);
}

TEST_F(SyncDeviceTest, DemoSyncTimerConvertsBetweenSecondsAndRows)
{
    Timer clock;
    Timer::SetFrameClock(60.0, Timer::GetDelta());
    EXPECT_DOUBLE_EQ(timer.currentRow(), 1024.0);

    timer.seekRow(512.0f);
    EXPECT_EQ(Timer::GetElapsed(), static_cast<double>(static_cast<float>(512.0f / SyncRowRate)));
    EXPECT_EQ(Timer::GetDelta(), 0.0);
    Timer::Update();
    EXPECT_GE(Timer::GetElapsed(), 30.0);
    EXPECT_LT(Timer::GetElapsed(), 31.0);
}
