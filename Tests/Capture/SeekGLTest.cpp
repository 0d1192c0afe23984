// Seeks on GL over the build's archive: a show that jumps to a time in a part scene, the scroller
// and the box scene (backwards and forwards) draws there the very picture the stills show, the
// states it puts back prepared by another show in the same process from 0.
#include "Demo/BuiltShowFixture.h"

#include "Demo/Capture/CaptureRun.h"
#include "Demo/TimeControl/PreparedShowStates.h"
#include "Demo/TimeControl/StatePreparation.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"
#include "Platform/Gfx/GL/GLReadBack.h"

#include <stb/stb_image.h>

#include <atomic>
#include <sstream>

namespace {

constexpr int Width = 320, Height = 180, Fps = 60;

// The pixels' rgb as a still stores them.
std::vector<uint8_t> StillPixels(const std::filesystem::path& path)
{
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(path.string().c_str(), &width, &height, &channels, 3);
    if (!pixels)
        return {};
    std::vector<uint8_t> rgb(pixels, pixels + size_t(width) * size_t(height) * 3);
    stbi_image_free(pixels);
    return rgb;
}

std::vector<uint8_t> Rgb(const GLImage& image)
{
    std::vector<uint8_t> rgb;
    for (size_t i = 0; i + 3 < image.bgra.size(); i += 4)
        rgb.insert(rgb.end(), {image.bgra[i + 2], image.bgra[i + 1], image.bgra[i]});
    return rgb;
}

size_t DifferentSamples(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    size_t different = a.size() == b.size() ? 0 : std::max(a.size(), b.size());
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        different += a[i] != b[i];
    return different;
}

} // namespace

class SeekGLTest : public BuiltShowFixture {};

TEST_F(SeekGLTest, AJumpDrawsThePictureOfTheStillsAtItsTime)
{
    const std::vector<double> times = {47.0, 20.0, 88.0}; // the scroller, back to a part, the box
    CaptureOptions options;
    options.mode = CaptureOptions::Mode::Stills;
    options.stills = times;
    options.directory = (directory / "stills").string();
    options.fps = Fps;
    options.width = Width;
    options.height = Height;
    std::filesystem::create_directories(options.directory);
    std::ostringstream progress;
    const std::atomic<bool> interrupted{false};
    ASSERT_EQ(RunCapture(options, interrupted, progress, false), 0) << progress.str();

    const std::string size = std::to_string(Width) + "x" + std::to_string(Height);
    Open(size, GLDirect3DCreator());
    std::vector<ShowState> prepared;
    PrepareStates(*framework, [&](const ShowState& state) { prepared.push_back(state); }, 89.0);
    framework.reset();

    Open(size, GLDirect3DCreator());
    PreparedShowStates states(*framework, "", "");
    states.Loaded();
    for (ShowState& state : prepared)
        states.Cache().Store(std::move(state));
    for (const double t : times) {
        ASSERT_TRUE(states.SeekTo(t, true));
        Timer::SetFrameClock(t, 1.0 / Fps);
        GLImage picture;
        framework->StepFrame([&] { picture = GLReadBackBuffer(*DXFramework::device); });
        std::ostringstream name;
        name << "show-" << t << ".png";
        const std::vector<uint8_t> still = StillPixels(directory / "stills" / name.str());
        ASSERT_FALSE(still.empty()) << name.str();
        EXPECT_EQ(DifferentSamples(Rgb(picture), still), 0u) << "at " << t << " s";
    }
}
