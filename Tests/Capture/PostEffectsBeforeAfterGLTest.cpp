// The post-processing passes made cheaper must give the show's pictures: the stills of every time
// the stills tests look at (each kind of scene, the cards, fades to white), rendered in one run
// with the show's archive and with the same archive holding the passes' earlier code
// (Support/EffectsBefore.h) and the modules' earlier draws, have a PSNR of
// at least 40 dB against each other. The pairs are left in the build folder as
// before-after-<seconds>-{before,after}.png where they differ.
#include "Support/EffectsBefore.h"
#include "Support/ShowFixture.h"

#include "Demo/Capture/CaptureRun.h"
#include "Modules/PostEffects/PostEffects.h"
#include "Demo/ShowAssembly.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"

#include <stb/stb_image.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>

namespace {

constexpr unsigned Width = 640;
constexpr unsigned Height = 360;
constexpr unsigned Fps = 24;
constexpr double LeastPsnr = 40.0;

const std::vector<double> StillTimes = {5, 6, 18, 26, 33, 40, 47, 55, 63, 72, 77, 81, 88, 96, 105, 114, 126, 128,
                                        // WhiteFade's flashes: the bloom runs
                                        15.5, 23, 79.5, 102,
                                        // the third part's rise to white
                                        34, 35, 36, 37};

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

Picture ReadPng(const std::filesystem::path& path)
{
    Picture picture;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.string().c_str(), &picture.width, &picture.height, &channels, 3);
    if (pixels) {
        picture.rgb.assign(pixels, pixels + size_t(picture.width) * picture.height * 3);
        stbi_image_free(pixels);
    }
    return picture;
}

// Peak signal to noise ratio of 8-bit samples; infinity for equal pictures.
double Psnr(const Picture& a, const Picture& b)
{
    double squares = 0.0;
    for (size_t i = 0; i < a.rgb.size(); ++i) {
        const double difference = double(a.rgb[i]) - double(b.rgb[i]);
        squares += difference * difference;
    }
    if (squares == 0.0)
        return INFINITY;
    return 10.0 * std::log10(255.0 * 255.0 / (squares / double(a.rgb.size())));
}

} // namespace

class PostEffectsBeforeAfterGLTest : public ShowFixture {
protected:
    // The stills of the archive, by file name, as a run of the player renders them, with the
    // modules' earlier draws or the show's.
    std::map<std::string, Picture> Stills(const std::vector<unsigned char>& archive, const std::string& folder,
                                          bool earlierDraws)
    {
        WriteArchive(archive);
        std::filesystem::create_directories(folder);
        CaptureOptions options;
        options.mode = CaptureOptions::Mode::Stills;
        options.stills = StillTimes;
        options.directory = folder;
        options.fps = Fps;
        options.width = Width;
        options.height = Height;
        std::ostringstream progress;
        const std::atomic<bool> interrupted{false};
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        const std::unique_ptr<DXFramework> show = OpenShow(
            "--nosetup --windowed --size " + std::to_string(Width) + "x" + std::to_string(Height), GLDirect3DCreator());
        UseEarlierDraws(earlierDraws);
        EXPECT_EQ(CaptureStills(*show, options, interrupted, progress, false), 0) << progress.str();
        std::map<std::string, Picture> stills;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            stills[entry.path().filename().string()] = ReadPng(entry.path());
        return stills;
    }
};

TEST_F(PostEffectsBeforeAfterGLTest, EveryStillIsTheSamePictureWithinAPsnrOf40Decibels)
{
    const std::map<std::string, Picture> before =
        Stills(ShowArchiveWithEffectsBefore(QL_SHOW_ARCHIVE, EarlierPlace::InPlace), "before", true);
    const std::map<std::string, Picture> after = Stills(ReadWholeFile(QL_SHOW_ARCHIVE), "after", false);
    ASSERT_EQ(before.size(), StillTimes.size());
    ASSERT_EQ(after.size(), StillTimes.size());

    std::ostringstream table;
    for (const auto& [name, picture] : after) {
        const Picture& earlier = before.at(name);
        ASSERT_EQ(picture.width, int(Width)) << name;
        ASSERT_EQ(earlier.rgb.size(), picture.rgb.size()) << name;
        const double psnr = Psnr(earlier, picture);
        table << "  " << name << ": " << psnr << " dB\n";
        EXPECT_GE(psnr, LeastPsnr) << name;
        if (std::isfinite(psnr)) {
            const std::string stem = std::filesystem::path(name).stem().string();
            std::filesystem::copy_file("before/" + name, QL_GL_TEST_OUTPUT "/before-after-" + stem + "-before.png",
                                       std::filesystem::copy_options::overwrite_existing);
            std::filesystem::copy_file("after/" + name, QL_GL_TEST_OUTPUT "/before-after-" + stem + "-after.png",
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
    std::cout << "PSNR of each still, earlier passes against the show's:\n" << table.str();
}
