#include "AudioFixture.h"

#include <cstdlib>
#include <cstring>
#include <thread>

void AudioFixture::SetUp()
{
    ArchiveFixture::SetUp();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", DiskOutputPath().c_str(), 1);
    BASS_SetConfig(BASS_CONFIG_GVOL_MUSIC, BASS_MAX_GVOL);
    BASS_SetConfig(BASS_CONFIG_GVOL_SAMPLE, BASS_MAX_GVOL);
    BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, BASS_MAX_GVOL);
}

void AudioFixture::TearDown()
{
    BASS_Free(); // fails harmlessly when the test left no device open
    ArchiveFixture::TearDown();
}

std::string AudioFixture::DiskOutputPath() const
{
    return (directory / "output.raw").string();
}

std::vector<float> AudioFixture::DiskOutput() const
{
    const std::vector<unsigned char> bytes = ReadWholeFile(DiskOutputPath());
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds guard)
{
    const auto deadline = std::chrono::steady_clock::now() + guard;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FrameworkEx& e) {
        return e.message;
    }
    return "(no FrameworkEx)";
}
