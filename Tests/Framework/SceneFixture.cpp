#include "SceneFixture.h"

#include "Framework/Scene/AnimCurve.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "sync/trackfile.h"

void SceneFixture::SetUp()
{
    ShowFixture::SetUp();
    resetMissingCurveReport();
}

void SceneFixture::TearDown()
{
    framework.reset();
    ShowFixture::TearDown();
}

void SceneFixture::Start(const ArchiveEntries& entries)
{
    framework.reset(); // a test may start again with other files
    ArchiveEntries all = {{"Data\\events\\Scenes.txt", Bytes("0 Test\n")}};
    for (const char* track : {"CamZOffset", "ShakeAmplitude", "ShakeSpeed", "ActiveCam"})
        all[std::string("Data\\sync_") + track + ".track"] = ConstantTrack(0.0f);
    for (const auto& [name, bytes] : entries)
        all[name] = bytes;

    ArchiveWriter writer;
    for (const auto& [name, bytes] : all)
        writer.Add(name, bytes);
    WriteArchive(writer.Build());
    framework = MakeFramework();
    SetShowTime(0.0);
}

void SceneFixture::SetShowTime(double seconds)
{
    Timer::SetFrameClock(seconds, Timer::GetDelta());
}

std::vector<unsigned char> ConstantTrack(float value)
{
    return EncodeTrackRecords({{0, value, 0}});
}

std::vector<unsigned char> StepTrack(const std::vector<std::pair<uint32_t, float>>& keys)
{
    std::vector<TrackRecord> records;
    for (const auto& [row, value] : keys)
        records.push_back({row, value, 0});
    return EncodeTrackRecords(records);
}

std::vector<unsigned char> ConstantCurve(float value)
{
    return EncodeCurveKeys({{0.0f, value, 0.0f, 0.0f}});
}

std::vector<unsigned char> LinearCurve(float start, float slope)
{
    return EncodeCurveKeys({{0.0f, start, slope, slope}, {100.0f, start + 100.0f * slope, slope, 0.0f}});
}
