// The blur planner without a device: a plan at reduced size spreads each axis as far as the rounds
// at full size (worked out by drawing a lone texel along that axis as the passes read it), every
// region lies inside its surface, and the effect reads the kernel the planner counts with.
#include "Modules/PostEffects/BlurPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

using namespace postfx;

namespace {

uint32_t Along(const BlurRegion& region, bool rows)
{
    return rows ? region.height : region.width;
}

// One linear read at p texels (texel i's centre at i + 0.5), clamped to the region's texels as
// GaussianAlong and the sampler's edge clamp do.
double Read(const std::vector<double>& texels, double p)
{
    p = std::clamp(p, 0.5, texels.size() - 0.5);
    const double below = std::floor(p - 0.5), part = p - 0.5 - below;
    const size_t i = static_cast<size_t>(below), next = std::min(i + 1, texels.size() - 1);
    return texels[i] * (1.0 - part) + texels[next] * part;
}

// The image's texels along one axis (the rows for a vertical pass) after the passes: a pass along
// that axis reads the kernel step texels apart, a pass across it reads once.
std::vector<double> Drawn(std::vector<double> texels, const std::vector<BlurPass>& passes, bool rows)
{
    for (const BlurPass& pass : passes) {
        const double in = Along(pass.from, rows);
        std::vector<double> out(Along(pass.to, rows));
        for (size_t j = 0; j < out.size(); ++j) {
            const double at = (j + 0.5) / out.size() * in;
            if (pass.vertical != rows) {
                out[j] = Read(texels, at);
                continue;
            }
            for (size_t k = 0; k < BlurKernelOffsets.size(); ++k)
                out[j] += BlurKernelWeights[k] * Read(texels, at + BlurKernelOffsets[k] * pass.step);
        }
        texels = std::move(out);
    }
    return texels;
}

struct Spread {
    double mass = 0.0, variance = 0.0;
};

// A lone texel's brightness after the passes and how far they spread it, averaged over the
// lone texel's places around the middle (a reduced blur's result depends a little on where a
// texel lies on the small grid).
Spread SpreadOf(const std::vector<BlurPass>& passes, uint32_t length, bool rows)
{
    Spread average;
    constexpr int Places = 8;
    for (int place = 0; place < Places; ++place) {
        std::vector<double> texels(length, 0.0);
        const size_t lone = length / 2 - Places / 2 + place;
        texels[lone] = 1.0;
        const std::vector<double> drawn = Drawn(texels, passes, rows);
        double mass = 0.0, mean = 0.0, square = 0.0;
        for (size_t i = 0; i < drawn.size(); ++i) {
            mass += drawn[i];
            mean += drawn[i] * i;
            square += drawn[i] * i * i;
        }
        mean /= mass;
        average.mass += mass / Places;
        average.variance += (square / mass - mean * mean) / Places;
    }
    return average;
}

struct Case {
    BlurSize image, scratch;
    int count;
};

// The show's blurs: velocity fields of four rounds, bloom levels of five, at several sizes (odd
// sides among them).
const std::vector<Case> Cases{{{640, 360}, {640, 360}, 4}, {{800, 450}, {800, 450}, 4}, {{1280, 720}, {1280, 720}, 4},
                              {{400, 225}, {400, 225}, 5}, {{320, 180}, {320, 180}, 5}, {{200, 112}, {200, 112}, 5},
                              {{128, 72}, {64, 36}, 3},    {{100, 56}, {100, 56}, 5},   {{160, 90}, {160, 90}, 5}};

} // namespace

TEST(BlurPlanTest, EachAxisSpreadsAsFarAsTheRoundsAtFullSizeAndKeepsItsBrightness)
{
    for (const Case& c : Cases) {
        const std::vector<BlurPass> plan = PlanBlur(c.image, c.scratch, c.count);
        // The rounds at full size, with a scratch of the image's size.
        const std::vector<BlurPass> rounds = BlurRounds(c.image, c.image, c.count);
        ASSERT_NE(plan, rounds) << c.image.width << " x " << c.image.height << ": drawn at full size";
        for (const bool rows : {false, true}) {
            SCOPED_TRACE(std::to_string(c.image.width) + " x " + std::to_string(c.image.height) +
                         (rows ? ", rows" : ", columns"));
            const uint32_t length = rows ? c.image.height : c.image.width;
            const Spread reduced = SpreadOf(plan, length, rows), full = SpreadOf(rounds, length, rows);
            EXPECT_NEAR(reduced.mass, 1.0, 1e-9);
            EXPECT_NEAR(reduced.variance / full.variance, 1.0, 0.05);
        }
    }
}

TEST(BlurPlanTest, EveryRegionLiesInsideItsSurfaceAndThePassesChainBackIntoTheWholeImage)
{
    for (uint32_t width : {31u, 64u, 100u, 127u, 128u, 200u, 401u, 800u})
        for (uint32_t height : {17u, 36u, 64u, 71u, 72u, 225u, 450u})
            for (int count = 0; count <= 6; ++count)
                for (const BlurSize scratch : {BlurSize{width, height}, BlurSize{width / 2, height / 2}}) {
                    const BlurSize image{width, height};
                    const std::vector<BlurPass> passes = PlanBlur(image, scratch, count);
                    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + ", " +
                                 std::to_string(count) + " rounds");
                    ASSERT_EQ(passes.size(), size_t(2 * count));
                    for (size_t i = 0; i < passes.size(); ++i) {
                        const BlurPass& pass = passes[i];
                        EXPECT_EQ(pass.vertical, i % 2 == 0);
                        for (const BlurRegion& region : {pass.from, pass.to}) {
                            const BlurSize& surface = region.surface == BlurSurface::Image ? image : scratch;
                            EXPECT_GT(region.width, 0u);
                            EXPECT_GT(region.height, 0u);
                            EXPECT_LE(region.width, surface.width);
                            EXPECT_LE(region.height, surface.height);
                        }
                        EXPECT_NE(pass.from.surface, pass.to.surface);
                        const BlurRegion whole{BlurSurface::Image, width, height};
                        EXPECT_EQ(pass.from, i == 0 ? whole : passes[i - 1].to);
                    }
                    if (!passes.empty()) {
                        EXPECT_EQ(passes.back().to, (BlurRegion{BlurSurface::Image, width, height}));
                    }
                }
}

TEST(BlurPlanTest, FewRoundsSmallOrOddImagesAndSmallScratchesTakeThePlainRounds)
{
    const BlurRegion image{BlurSurface::Image, 128, 72}, scratch{BlurSurface::Scratch, 128, 72};
    EXPECT_EQ(PlanBlur({128, 72}, {128, 72}, 2),
              (std::vector<BlurPass>{{true, image, scratch, 1}, {false, scratch, image, 1},
                                     {true, image, scratch, 1}, {false, scratch, image, 1}}));
    for (const Case& c : {Case{{63, 35}, {63, 35}, 5}, Case{{62, 62}, {62, 62}, 5}, Case{{128, 72}, {63, 36}, 4}})
        EXPECT_EQ(PlanBlur(c.image, c.scratch, c.count), BlurRounds(c.image, c.scratch, c.count));

    // Four rounds quarter the columns (halved between pairs, then by the kernel) and halve the
    // rows; the last pass restores both with one read.
    const std::vector<BlurPass> plan = PlanBlur({128, 72}, {128, 72}, 4);
    const BlurRegion first{BlurSurface::Scratch, 64, 36}, small{BlurSurface::Image, 32, 36},
        smallScratch{BlurSurface::Scratch, 32, 36};
    ASSERT_EQ(plan.size(), 8u);
    EXPECT_EQ((std::vector<BlurRegion>{plan[0].to, plan[1].to, plan[2].to, plan[3].to, plan[7].to}),
              (std::vector<BlurRegion>{first, small, smallScratch, small, image}));
    EXPECT_FLOAT_EQ(plan[0].step, 0.75f);
    EXPECT_FLOAT_EQ(plan[1].step, 0.75f);
    EXPECT_FLOAT_EQ(plan[7].step, 0.0f);
}

TEST(BlurPlanTest, TheEffectsGaussianReadsTheKernelThePlannerCountsWith)
{
    std::ifstream file(QL_SOURCE_DIR "Data/Shaders/PostEffects.fx");
    ASSERT_TRUE(file);
    const std::string effect(std::istreambuf_iterator<char>(file), {});
    const size_t start = effect.find("vec4 GaussianAlong(");
    ASSERT_NE(start, std::string::npos);
    const std::string body = effect.substr(start, effect.find("return sum;", start) - start);

    const auto numbers = [&](const std::regex& pattern) {
        std::vector<double> found;
        for (auto match = std::sregex_iterator(body.begin(), body.end(), pattern); match != std::sregex_iterator(); ++match)
            found.push_back(std::stod((*match)[1]));
        return found;
    };
    // Each side's offset is read once forward and once back; each weight is written once for the
    // centre and once for each pair.
    EXPECT_EQ(numbers(std::regex(R"(texel \* ([0-9.]+))")),
              (std::vector<double>{BlurKernelOffsets[1], BlurKernelOffsets[1], BlurKernelOffsets[3], BlurKernelOffsets[3]}));
    EXPECT_EQ(numbers(std::regex(R"(\)\s*\*\s*([0-9.]+))")),
              (std::vector<double>{BlurKernelWeights[0], BlurKernelWeights[1], BlurKernelWeights[3]}));
    for (size_t i = 1; i < BlurKernelOffsets.size(); i += 2) {
        EXPECT_EQ(BlurKernelOffsets[i + 1], -BlurKernelOffsets[i]);
        EXPECT_EQ(BlurKernelWeights[i + 1], BlurKernelWeights[i]);
    }
}

TEST(BlurPlanTest, TheDepthOfFieldBlursAtHalfSizeInTwoPairsWhereItCanAndInItsRoundsElsewhere)
{
    const LensRegion colour{LensSurface::Colour, 640, 360}, a{LensSurface::A, 320, 180}, b{LensSurface::B, 320, 180};
    const std::vector<LensPass> plan = PlanDepthOfField({640, 360}, {640, 360}, {640, 360}, 5);
    ASSERT_EQ(plan.size(), 4u);
    EXPECT_EQ((std::vector<LensRegion>{plan[0].from, plan[0].to, plan[1].to, plan[2].to, plan[3].to}),
              (std::vector<LensRegion>{colour, a, b, a, b}));
    EXPECT_EQ((std::vector<bool>{plan[0].vertical, plan[1].vertical, plan[2].vertical, plan[3].vertical}),
              (std::vector<bool>{false, true, false, true}));
    // The small passes step under a small texel: two of them spread what four full pairs do.
    for (const LensPass& pass : {plan[1], plan[2], plan[3]}) {
        EXPECT_GT(pass.step, 0.6f);
        EXPECT_LT(pass.step, 1.0f);
    }

    EXPECT_EQ(PlanDepthOfField({640, 360}, {640, 360}, {640, 360}, 2), DepthOfFieldRounds({640, 360}, {640, 360}, {640, 360}, 2));
    EXPECT_EQ(PlanDepthOfField({641, 360}, {641, 360}, {641, 360}, 5), DepthOfFieldRounds({641, 360}, {641, 360}, {641, 360}, 5));
    EXPECT_EQ(PlanDepthOfField({640, 360}, {319, 180}, {640, 360}, 5), DepthOfFieldRounds({640, 360}, {319, 180}, {640, 360}, 5));
    EXPECT_EQ(DepthOfFieldRounds({64, 36}, {64, 36}, {64, 36}, 0).size(), 2u);
}

TEST(BlurPlanTest, AVelocityRoundAtHalfSizeReadBackLinearlySpreadsAsFarAsTheRoundAtFullSize)
{
    for (const BlurSize image : {BlurSize{640, 360}, BlurSize{800, 450}, BlurSize{1280, 720}}) {
        const std::vector<BlurPass> plan = PlanHalfSizeRound(image, image);
        const BlurRegion half{BlurSurface::Image, image.width / 2, image.height / 2};
        ASSERT_EQ(plan.size(), 2u);
        EXPECT_EQ(plan[0].from, (BlurRegion{BlurSurface::Image, image.width, image.height}));
        EXPECT_EQ(plan[1].from, plan[0].to);
        EXPECT_EQ(plan[1].to, half);
        // The reader's one linear read back to full size along both axes: a pass with no step.
        std::vector<BlurPass> readBack = plan;
        const BlurRegion whole{BlurSurface::Scratch, image.width, image.height};
        readBack.push_back({true, half, whole, 0.0f});
        const std::vector<BlurPass> round = BlurRounds(image, image, 1);
        for (const bool rows : {false, true}) {
            SCOPED_TRACE(std::to_string(image.width) + (rows ? ", rows" : ", columns"));
            const uint32_t length = rows ? image.height : image.width;
            const Spread reduced = SpreadOf(readBack, length, rows), full = SpreadOf(round, length, rows);
            EXPECT_NEAR(reduced.mass, 1.0, 1e-9);
            EXPECT_NEAR(reduced.variance / full.variance, 1.0, 0.05);
        }
    }
    // Odd or short sides, or a scratch too small for the half: the round at full size.
    for (const auto& [image, scratch] : {std::pair{BlurSize{641, 360}, BlurSize{641, 360}},
                                         {BlurSize{640, 62}, BlurSize{640, 62}}, {BlurSize{640, 360}, BlurSize{319, 180}}})
        EXPECT_EQ(PlanHalfSizeRound(image, scratch), BlurRounds(image, scratch, 1));
}
