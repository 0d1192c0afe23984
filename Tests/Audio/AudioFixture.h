// Runs an audio test in a fresh directory with SDL's "disk" audio driver, which writes what would
// be heard to output.raw there, and closes the audio library afterwards.
#pragma once

#include "Support/ArchiveFixture.h"

#include "Platform/Audio/Bass.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class AudioFixture : public ArchiveFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Interleaved float frames of the disk driver's file; read after BASS_Free has closed it.
    std::vector<float> DiskOutput() const;
    std::string DiskOutputPath() const;
};

// Polls until done() holds; false when it did not within a generous guard against hanging.
bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds guard = std::chrono::seconds(20));

// The message of the FrameworkEx that action raises, or "(no FrameworkEx)".
std::string MessageOf(const std::function<void()>& action);
