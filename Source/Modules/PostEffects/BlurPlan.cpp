#include "Modules/PostEffects/BlurPlan.h"

#include <algorithm>
#include <cmath>

// The blurs at reduced size. A blur of several rounds is drawn with the same passes, V and H in
// turn, into the same image and scratch, but the first passes shrink the image into a corner of
// them, the passes between blur it there and the last brings it back to full size in the image,
// reading once between the small texels. The first pass (V) halves the rows with its kernel and
// the columns by reading between each pair of them, which averages them; where the blur spreads
// wide enough, the second (H) halves the columns once more with its kernel. Each pass reads the
// kernel with its reads a chosen step apart, and the steps make the passes along an axis spread
// the picture as far as the rounds at full size: the same variance. For a kernel this wide the
// picture is then the same within a few hundredths of a lone texel's blurred peak, and far closer
// for anything smoother.

namespace postfx {

namespace {

// The step of a pass that halves its own axis with its kernel, in texels of its input: wide enough
// that halving does not alias a lone texel's place away, narrow enough to leave the passes between
// some spreading to do.
constexpr double HalvingStep = 0.75;
// A side shorter than this is cheap at full size and too short to halve without its borders
// showing.
constexpr uint32_t ShortestHalvedSide = 64;
// With fewer rounds there is no pass between shrinking and restoring to make up the spread.
constexpr int FewestHalvedRounds = 3;

// In input texels squared: the variance of the kernel with its reads step input texels apart,
// for an output texel whose centre lies offset input texels past an input texel's centre. Each
// linear read spreads its weight over two texels, which counts too.
double KernelVariance(double step, double offset)
{
    double variance = 0.0;
    for (size_t i = 0; i < BlurKernelOffsets.size(); ++i) {
        const double read = BlurKernelOffsets[i] * step;
        const double between = offset + read - std::floor(offset + read);
        variance += BlurKernelWeights[i] * (read * read + between * (1.0 - between));
    }
    return variance;
}

// The step at which the kernel spreads a texel by variance (in input texels squared), for output
// texels offset input texels past an input texel's centre. The variance grows with the step (the
// linear reads' share only ripples): bisect.
float StepSpreading(double variance, double offset)
{
    double low = 0.0, high = 4.0;
    for (int i = 0; i < 40; ++i) {
        const double middle = (low + high) / 2.0;
        (KernelVariance(middle, offset) < variance ? low : high) = middle;
    }
    return static_cast<float>(low);
}

// How one axis of a blur at reduced size is drawn. The first pass runs along the rows (V) and the
// last along the columns (H): the columns are halved first across, by reading between pairs, and
// restored along; the rows the other way round.
struct AxisPlan {
    uint32_t factor = 1; // how many times smaller the passes between draw it: 1, 2 or 4
    bool columns = false;
};

// What shrinking and restoring an axis spread the picture by besides the passes between, in
// full-size texels squared, and whether the axis's own first pass halves it with its kernel.
struct Reshaping {
    double variance = 0.0;
    bool kernelHalving = false;
};

Reshaping ReshapingOf(const AxisPlan& plan)
{
    Reshaping reshaping;
    double inputTexel = 1.0; // full-size texels per texel of what the axis's first pass reads
    if (plan.columns) {
        reshaping.variance += KernelVariance(0.0, 0.5);
        inputTexel = 2.0;
    }
    if (plan.factor > inputTexel) {
        reshaping.variance += KernelVariance(HalvingStep, 0.5) * inputTexel * inputTexel;
        reshaping.kernelHalving = true;
    }
    // The restoring pass's one linear read: full-size texel j lies (j + 0.5) / factor - 0.5 small
    // texels past a small texel's centre.
    const double factor = plan.factor;
    double restoring = 0.0;
    for (uint32_t j = 0; j < plan.factor; ++j)
        restoring += KernelVariance(0.0, (j + 0.5) / factor - 0.5);
    reshaping.variance += restoring / factor * factor * factor;
    return reshaping;
}

// In full-size texels squared: what the passes between must still spread an axis by; negative
// when shrinking and restoring alone spread it further than the rounds at full size would.
double SpreadLeft(int rounds, const Reshaping& reshaping)
{
    return rounds * KernelVariance(1.0, 0.0) - reshaping.variance;
}

// The steps of the rounds' passes along one axis. An axis drawn at full size takes full rounds.
std::vector<float> AxisSteps(int rounds, const AxisPlan& plan)
{
    if (plan.factor == 1)
        return std::vector<float>(static_cast<size_t>(rounds), 1.0f);
    const Reshaping reshaping = ReshapingOf(plan);
    const int between = rounds - (reshaping.kernelHalving ? 1 : 0) - (plan.columns ? 1 : 0);
    const double factor = plan.factor;
    // In small texels squared.
    const double each = std::max(SpreadLeft(rounds, reshaping), 0.0) / (factor * factor * between);
    std::vector<float> steps(static_cast<size_t>(rounds), StepSpreading(each, 0.0));
    if (reshaping.kernelHalving)
        steps.front() = static_cast<float>(HalvingStep);
    if (plan.columns)
        steps.back() = 0.0f;
    return steps;
}

bool Halvable(uint32_t side)
{
    return side % 2 == 0 && side >= ShortestHalvedSide;
}

// The rows: halved by the first pass when even and long enough.
AxisPlan RowPlan(uint32_t height)
{
    return {Halvable(height) ? 2u : 1u, false};
}

// The columns: halved across by the first pass when even and long enough, and once more by the
// second when the half is too and the rounds spread the picture further than that does.
AxisPlan ColumnPlan(uint32_t width, int rounds)
{
    const AxisPlan quartered{4, true};
    if (Halvable(width) && Halvable(width / 2) && SpreadLeft(rounds, ReshapingOf(quartered)) >= 0.0)
        return quartered;
    return {Halvable(width) ? 2u : 1u, true};
}

} // namespace

std::vector<BlurPass> BlurRounds(BlurSize image, BlurSize scratch, int count)
{
    const BlurRegion inImage{BlurSurface::Image, image.width, image.height};
    const BlurRegion inScratch{BlurSurface::Scratch, scratch.width, scratch.height};
    std::vector<BlurPass> passes;
    for (int round = 0; round < count; ++round) {
        passes.push_back({true, inImage, inScratch, 1.0f});
        passes.push_back({false, inScratch, inImage, 1.0f});
    }
    return passes;
}

std::vector<BlurPass> PlanBlur(BlurSize image, BlurSize scratch, int count)
{
    if (count < FewestHalvedRounds)
        return BlurRounds(image, scratch, count);
    const AxisPlan columns = ColumnPlan(image.width, count), rows = RowPlan(image.height);
    // After the first pass, and after the second.
    const uint32_t firstWidth = columns.factor > 1 ? image.width / 2 : image.width;
    const uint32_t width = image.width / columns.factor, height = image.height / rows.factor;
    if ((columns.factor == 1 && rows.factor == 1) || scratch.width < firstWidth || scratch.height < height)
        return BlurRounds(image, scratch, count);
    const std::vector<float> stepsX = AxisSteps(count, columns);
    const std::vector<float> stepsY = AxisSteps(count, rows);
    // The first pass shrinks the image into the scratch's top-left corner, the second into the
    // image's; the passes after them go from corner to corner.
    const BlurRegion whole{BlurSurface::Image, image.width, image.height},
        first{BlurSurface::Scratch, firstWidth, height}, inImage{BlurSurface::Image, width, height},
        inScratch{BlurSurface::Scratch, width, height};
    std::vector<BlurPass> passes{{true, whole, first, stepsY[0]}, {false, first, inImage, stepsX[0]}};
    for (int round = 1; round < count; ++round) {
        const size_t r = static_cast<size_t>(round);
        passes.push_back({true, inImage, inScratch, stepsY[r]});
        passes.push_back({false, inScratch, round == count - 1 ? whole : inImage, stepsX[r]});
    }
    return passes;
}

std::vector<BlurPass> PlanHalfSizeRound(BlurSize image, BlurSize scratch)
{
    const BlurSize half{image.width / 2, image.height / 2};
    if (!Halvable(image.width) || !Halvable(image.height) || scratch.width < half.width || scratch.height < half.height)
        return BlurRounds(image, scratch, 1);
    // In full-size texels squared: one round's spread, and what reading the half size back with
    // one linear read adds (full-size texels lie a quarter of a small texel either side of one).
    const double round = KernelVariance(1.0, 0.0), readBack = 4.0 * KernelVariance(0.0, 0.25);
    // The rows: the first pass's kernel, its outputs between two rows. The columns: the second
    // pass's kernel at half size (the first pass's read between each pair of them and the read
    // back together spread a lone texel no further than the read back alone).
    const float rows = StepSpreading(std::max(round - readBack, 0.0), 0.5);
    const float columns = StepSpreading(std::max(round - readBack, 0.0) / 4.0, 0.0);
    return {{true, {BlurSurface::Image, image.width, image.height}, {BlurSurface::Scratch, half.width, half.height}, rows},
            {false, {BlurSurface::Scratch, half.width, half.height}, {BlurSurface::Image, half.width, half.height},
             columns}};
}

std::vector<LensPass> DepthOfFieldRounds(BlurSize colour, BlurSize a, BlurSize b, int passes)
{
    const LensRegion inColour{LensSurface::Colour, colour.width, colour.height},
        inA{LensSurface::A, a.width, a.height}, inB{LensSurface::B, b.width, b.height};
    std::vector<LensPass> plan{{false, inColour, inA, 1.0f}, {true, inA, inB, 1.0f}};
    for (int pass = 1; pass < passes; ++pass) {
        plan.push_back({false, inB, inA, 1.0f});
        plan.push_back({true, inA, inB, 1.0f});
    }
    return plan;
}

std::vector<LensPass> PlanDepthOfField(BlurSize colour, BlurSize a, BlurSize b, int passes)
{
    const uint32_t width = colour.width / 2, height = colour.height / 2;
    if (passes < FewestHalvedRounds || !Halvable(colour.width) || !Halvable(colour.height) || a.width < width ||
        a.height < height || b.width < width || b.height < height)
        return DepthOfFieldRounds(colour, a, b, passes);
    // In full-size texels squared, per axis: what the rounds spread (the depth's weights aside),
    // what the first pass's kernel spreads the columns by and its read between each pair of rows
    // spreads the rows by, and what the combine's read between the small texels adds.
    constexpr std::array<double, 5> Weights{0.2270270270, 0.1945945946, 0.1216216216, 0.0540540541, 0.0162162162};
    double kernel = 0.0;
    for (size_t i = 1; i < Weights.size(); ++i)
        kernel += 2.0 * Weights[i] * double(i * i);
    const double rounds = passes * kernel, restoring = 4.0 * 0.1875, rowHalving = 0.25;
    // The small passes' steps, in small texels (a quarter of the variance each step spreads).
    const float columns = static_cast<float>(std::sqrt(std::max(rounds - kernel - restoring, 0.0) / (4.0 * kernel)));
    const float rows = static_cast<float>(std::sqrt(std::max(rounds - rowHalving - restoring, 0.0) / (8.0 * kernel)));
    const LensRegion inColour{LensSurface::Colour, colour.width, colour.height}, inA{LensSurface::A, width, height},
        inB{LensSurface::B, width, height};
    return {{false, inColour, inA, 1.0f}, {true, inA, inB, rows}, {false, inB, inA, columns}, {true, inA, inB, rows}};
}

} // namespace postfx
