// Seeks on GL over the build's archive: a show that jumps to a time in a part scene, the scroller
// and the box scene (backwards and forwards) draws there the very picture the stills show, the
// states it puts back prepared by another show in the same process from 0. In the intro and the
// end, which draw over their last picture, a jump draws the frames of its last nine steps (the
// last in whole, those before only their specks, the first seeding the trails of those before):
// within a PSNR of 45 dB of the still.
#include "Demo/BuiltShowFixture.h"

#include "Demo/Capture/CaptureRun.h"
#include "Demo/TimeControl/PreparedShowStates.h"
#include "Demo/TimeControl/StatePreparation.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"
#include "Platform/Gfx/GL/GLReadBack.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <iostream>
#include <sstream>

namespace {

constexpr int Width = 320, Height = 180, Fps = 60;
// How close a jump into the intro or the end comes to the still: 47-48 dB measured (twelve frames,
// three of them whole and none seeding, came to 52 dB for nearly twice the cost).
constexpr double MostlyTheSame = 45.0;

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

double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    double squares = 0.0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        squares += (double(a[i]) - double(b[i])) * (double(a[i]) - double(b[i]));
    return squares == 0.0 ? 1e9 : 10.0 * std::log10(255.0 * 255.0 * double(a.size()) / squares);
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
    const std::vector<double> overPictures = {8.0, 125.0}; // the intro and the end
    CaptureOptions options;
    options.mode = CaptureOptions::Mode::Stills;
    options.stills = times;
    options.stills.insert(options.stills.end(), overPictures.begin(), overPictures.end());
    options.directory = (directory / "stills").string();
    options.fps = Fps;
    options.width = Width;
    options.height = Height;
    std::filesystem::create_directories(options.directory);
    std::ostringstream progress;
    const std::atomic<bool> interrupted{false};
    ASSERT_EQ(RunCapture(options, interrupted, progress, false, GLDirect3DCreator()), 0) << progress.str();

    const std::string size = std::to_string(Width) + "x" + std::to_string(Height);
    Open(size, GLDirect3DCreator());
    std::vector<ShowState> prepared;
    PrepareStates(*framework, [&](const ShowState& state) { prepared.push_back(state); }, 126.0);
    framework.reset();

    Open(size, GLDirect3DCreator());
    PreparedShowStates states(*framework, "", "");
    states.Loaded();
    for (ShowState& state : prepared)
        states.Cache().Store(std::move(state));
    std::vector<double> all = times;
    all.insert(all.end(), overPictures.begin(), overPictures.end());
    for (const double t : all) {
        ASSERT_TRUE(states.SeekTo(t, true));
        Timer::SetFrameClock(t, 1.0 / Fps);
        GLImage picture;
        framework->StepFrame([&] { picture = GLReadBackBuffer(*DXFramework::device); });
        std::ostringstream name;
        name << "show-" << t << ".png";
        const std::vector<uint8_t> still = StillPixels(directory / "stills" / name.str());
        ASSERT_FALSE(still.empty()) << name.str();
        if (std::find(times.begin(), times.end(), t) != times.end()) {
            EXPECT_EQ(DifferentSamples(Rgb(picture), still), 0u) << "at " << t << " s";
        } else {
            const double psnr = Psnr(Rgb(picture), still);
            std::cout << "a jump to " << t << " s: " << psnr << " dB from the still\n";
            EXPECT_GT(psnr, MostlyTheSame) << "at " << t << " s";
        }
    }
}
