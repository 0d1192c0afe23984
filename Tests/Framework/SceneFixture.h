// The framework on the Recorder without a device: enough for cameras, lights and scene files,
// which need its archive, clock and sync device. The archive holds the timeline, the four camera
// tracks (a constant 0 unless a test gives its own) and whatever else a test names.
#pragma once

#include "Support/ArchiveFiles.h"
#include "Support/ShowFixture.h"

#include "Framework/Scene/CurveFile.h"

#include <map>
#include <string>
#include <vector>

class SceneFixture : public ShowFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    void Start(const ArchiveEntries& entries = {});
    // The show clock reads seconds; the sync tracks are read at seconds times the row rate.
    static void SetShowTime(double seconds);

    std::unique_ptr<DXFramework> framework;
};

// A sync track file of one key (every row reads value), and one of step keys at the given rows.
std::vector<unsigned char> ConstantTrack(float value);
std::vector<unsigned char> StepTrack(const std::vector<std::pair<uint32_t, float>>& keys);
// A curve file reading value at every time.
std::vector<unsigned char> ConstantCurve(float value);
// A curve file along value = start + slope * seconds (exact between 0 and 100 s).
std::vector<unsigned char> LinearCurve(float start, float slope);
