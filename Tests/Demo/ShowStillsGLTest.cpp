// The real show on GL: the player's own assembly over the build's basefile.dat, played frame by
// frame as the main loop plays it, at fixed steps of the clock up to a few chosen moments. Each
// still must come from the scene the timeline names there and show its particles (small points of
// light, which neither the background nor the screen filter makes) in a picture that is neither
// black nor white.
// The stills are left in the build folder as show-<seconds>.png.
#include "Modules/CardPixels.h"
#include "Platform/Gfx/GLPicture.h"
#include "Demo/BuiltShowFixture.h"

#include "Framework/FileSys/FileSys.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"

#include <algorithm>
#include <cmath>

namespace {

// The clock's step between frames, and how long the show plays before a still: the particle field
// starts empty with every scene and emits one burst a frame.
constexpr double Step = 1.0 / 24.0;
constexpr double LeadIn = 3.0;

constexpr UINT Width = 640;
constexpr UINT Height = 360;

struct Still {
    double seconds;
    const char* scene;
};

// How much of a picture must stand out as specks: the part scenes are made of them; the scroller's
// and the box's particles share the picture with larger shapes.
constexpr double PartSceneSpecks = 0.005;
constexpr double SolidSceneSpecks = 0.002;

// Of the picture inside the letterbox: the share of speck pixels, the share of white ones, the share
// of flat neutral mid-grey ones (luma 70..170, chroma within 7 of neutral: what a filter laying a
// tone of its own over a dark picture makes) and the mean brightness (0..255). A speck pixel is brighter or darker by more than 20 than the mean of its
// four neighbours three pixels away: the specks are small points of light, while the background
// ramp and the screen filter's soft-edged rectangles hardly change over a few pixels.
struct PictureMeasure {
    double specks = 0.0;
    double white = 0.0;
    double grey = 0.0;
    double brightness = 0.0;
};

bool NeutralMidGrey(const uint8_t* bgra)
{
    const double b = bgra[0], g = bgra[1], r = bgra[2];
    const double luma = 0.299 * r + 0.587 * g + 0.114 * b;
    const double cb = -0.168736 * r - 0.331264 * g + 0.5 * b;
    const double cr = 0.5 * r - 0.418688 * g - 0.081312 * b;
    return luma >= 70.0 && luma <= 170.0 && std::abs(cb) <= 7.0 && std::abs(cr) <= 7.0;
}

PictureMeasure Measure(const GLImage& image)
{
    const auto brightness = [&](UINT x, UINT y) {
        const uint8_t* pixel = &image.bgra[(size_t{y} * image.width + x) * 4];
        return (pixel[0] + pixel[1] + pixel[2]) / 3.0;
    };
    constexpr UINT Reach = 3;
    PictureMeasure measure;
    size_t inner = 0;
    for (UINT y = 0; y < image.height; ++y)
        for (UINT x = 0; x < image.width; ++x) {
            const uint8_t* pixel = &image.bgra[(size_t{y} * image.width + x) * 4];
            measure.white += std::min({pixel[0], pixel[1], pixel[2]}) > 240;
            measure.grey += NeutralMidGrey(pixel);
            measure.brightness += brightness(x, y);
            if (x < Reach || y < Reach || x + Reach >= image.width || y + Reach >= image.height)
                continue;
            const double around = (brightness(x - Reach, y) + brightness(x + Reach, y) + brightness(x, y - Reach) +
                                   brightness(x, y + Reach)) / 4.0;
            measure.specks += std::abs(brightness(x, y) - around) > 20.0;
            ++inner;
        }
    const double pixels = double(image.width) * double(image.height);
    measure.specks /= double(inner);
    measure.white /= pixels;
    measure.grey /= pixels;
    measure.brightness /= pixels;
    return measure;
}

// The rows of the picture between the letterbox bars.
GLImage Picture(const GLImage& backBuffer, UINT top, UINT height)
{
    GLImage picture{backBuffer.width, height, {}};
    const size_t row = size_t{backBuffer.width} * 4;
    picture.bgra.assign(backBuffer.bgra.begin() + top * row, backBuffer.bgra.begin() + (top + height) * row);
    return picture;
}

} // namespace

class ShowStillsGLTest : public BuiltShowFixture {
protected:
    void SetUp() override
    {
        BuiltShowFixture::SetUp();
        Open("640x360", GLDirect3DCreator());
    }

    // Frames at fixed steps of the clock until it reaches seconds, each made as the main loop makes
    // it; the last one is read back before Present shows it.
    GLImage PlayTo(double seconds)
    {
        double t = std::max(clock, seconds - LeadIn);
        for (;;) {
            Timer::SetFrameClock(t, Step);
            if (t >= seconds) {
                GLImage picture;
                framework->StepFrame([&] { picture = GLReadBackBuffer(*DXFramework::device); });
                clock = t + Step;
                return picture;
            }
            framework->StepFrame();
            t = std::min(t + Step, seconds);
        }
    }

    double clock = 0.0;

    // Plays to each still in turn, saves it and checks that it comes from its scene and shows
    // enough specks in a picture that is neither washed out nor black (nor, where mostGrey says,
    // covered in flat grey).
    void CheckStills(const std::vector<Still>& stills, double minimumSpecks, double mostGrey = 1.0)
    {
        const DisplaySettings& settings = framework->settings;
        ASSERT_EQ(settings.backBufferWidth, Width);
        ASSERT_EQ(settings.backBufferHeight, Height);
        const UINT top = settings.PictureTop();
        for (const Still& still : stills) {
            const GLImage backBuffer = PlayTo(still.seconds);
            const std::string name = "show-" + std::to_string(static_cast<int>(still.seconds)) + ".png";
            SavePng(backBuffer, name);
            ASSERT_EQ(SceneHandler::Instance()->GetCurrentScene()->GetName(), still.scene) << name;

            const PictureMeasure measure = Measure(Picture(backBuffer, top, settings.renderHeight));
            EXPECT_GT(measure.specks, minimumSpecks) << name << ": too few particles stand out of the picture";
            EXPECT_LT(measure.white, 0.12) << name << ": the picture is washed out white";
            EXPECT_GT(measure.brightness, 4.0) << name << ": the picture is black";
            EXPECT_LE(measure.grey, mostGrey) << name << ": flat grey lies over the picture";
        }
        // A missing animation curve or texture shows a box and plays on; the show's data has none.
        EXPECT_TRUE(boxes.empty()) << boxes.front();
    }
};

TEST_F(ShowStillsGLTest, EveryPartSceneShowsItsParticlesInAPictureNeitherBlackNorWhite)
{
    CheckStills({{5.0, "TindreVikIntro"},
                 {18.0, "TindrevikPart1"},
                 {26.0, "TindrevikPart2"},
                 {33.0, "TindrevikPart3"},
                 {105.0, "TindrevikPart4"},
                 {114.0, "TindrevikPart5"},
                 {126.0, "TindrevikEnd"}},
                PartSceneSpecks, 0.06);
}

TEST_F(ShowStillsGLTest, TheScrollerShowsItsTextCubesAndParticles)
{
    CheckStills({{40.0, "TindrevikScroller"},
                 {47.0, "TindrevikScroller"},
                 {55.0, "TindrevikScroller"},
                 {63.0, "TindrevikScroller"},
                 {72.0, "TindrevikScroller"},
                 {77.0, "TindrevikScroller"}},
                SolidSceneSpecks);
}

TEST_F(ShowStillsGLTest, TheBoxSceneShowsTheSwarmInsideTheBox)
{
    CheckStills({{81.0, "TindrevikInsideCube"}, {88.0, "TindrevikInsideCube"}, {96.0, "TindrevikInsideCube"}},
                SolidSceneSpecks);
}

// The title card in the intro and the closing card in the end: the cards' text, where the archive's
// cards put it, in lantern light that stands out from the picture around it.
TEST_F(ShowStillsGLTest, TheTitleAndClosingCardsStandOutOfThePicture)
{
    const DisplaySettings& settings = framework->settings;
    const std::tuple<double, const char*, const char*> stills[] = {{6.0, "TindreVikIntro", "Data\\TitleCard.png"},
                                                                   {128.0, "TindrevikEnd", "Data\\ClosingCard.png"}};
    for (const auto& [seconds, scene, card] : stills) {
        const GLImage backBuffer = PlayTo(seconds);
        const std::string name = "show-" + std::to_string(static_cast<int>(seconds)) + ".png";
        SavePng(backBuffer, name);
        ASSERT_EQ(SceneHandler::Instance()->GetCurrentScene()->GetName(), scene) << name;
        const auto png = FileSys::Instance()->ReadAll(card);
        ASSERT_TRUE(png) << card;

        const CardPixels pixels = SortCardPixels(DecodeCard(*png), backBuffer, settings);
        EXPECT_GT(pixels.text.size(), 500u) << name;
        EXPECT_GT(Mean(pixels.text), 200.0) << name << ": the text is bright";
        EXPECT_LT(Mean(pixels.around), Mean(pixels.text) - 120.0) << name << ": the text stands out of the picture";
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}
