// What a separable blur draws, worked out without a device: its passes in order, each from a
// region of the image or the scratch into a region of the other, with the step between the
// kernel's reads. A blur of a few rounds is the plain rounds at full size; one of more rounds is
// drawn mostly at a half or a quarter of the image's size, spreading each axis as far.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace postfx {

// GaussianAlong's reads in "PostEffects.fx": offsets in steps, and their weights. The effect's
// numbers are tied to these by a test.
constexpr std::array<double, 5> BlurKernelOffsets{0.0, 1.3846153846, -1.3846153846, 3.2307692308, -3.2307692308};
constexpr std::array<double, 5> BlurKernelWeights{0.2270270270, 0.3162162162, 0.3162162162, 0.0702702703,
                                                  0.0702702703};

struct BlurSize {
    uint32_t width = 0, height = 0;
};

enum class BlurSurface { Image, Scratch };

// The part of a surface from its top-left corner that a pass reads or draws.
struct BlurRegion {
    BlurSurface surface = BlurSurface::Image;
    uint32_t width = 0, height = 0;
    bool operator==(const BlurRegion&) const = default;
};

struct BlurPass {
    bool vertical = false; // "BlurV" along the rows, else "BlurH" along the columns
    BlurRegion from, to;
    float step = 1.0f; // between the kernel's reads, in texels of the input surface
    bool operator==(const BlurPass&) const = default;
};

// count rounds of a vertical pass into the scratch and a horizontal one back into the image.
std::vector<BlurPass> BlurRounds(BlurSize image, BlurSize scratch, int count);

// The passes that blur the image as far as count rounds: from three rounds on, an image with an
// even side of at least 64 texels and a scratch of at least its halved size is drawn at reduced
// size, otherwise in the plain rounds. The last pass draws the whole image.
std::vector<BlurPass> PlanBlur(BlurSize image, BlurSize scratch, int count);

// One round's spread drawn at half size: the image (even sides of at least 64 texels) shrunk into
// the scratch's top-left corner, then blurred across into the image's corner, for a caller that
// reads it back there with a linear read, which spreads it a little further. Elsewhere the round.
std::vector<BlurPass> PlanHalfSizeRound(BlurSize image, BlurSize scratch);

// How a module works out its blurs; PlanBlur in the show.
using BlurPlanner = std::vector<BlurPass> (*)(BlurSize image, BlurSize scratch, int count);

// The depth of field's passes ("DOF_blurH" and "DOF_blurV", each weighing a texel by how blurred
// its depth is meant to be): from the colour into A, then between A and B, ending in B.
enum class LensSurface { Colour, A, B };

struct LensRegion {
    LensSurface surface = LensSurface::Colour;
    uint32_t width = 0, height = 0;
    bool operator==(const LensRegion&) const = default;
};

struct LensPass {
    bool vertical = false;
    LensRegion from, to;
    float step = 1.0f; // between the kernel's texels, in texels of the input surface
    bool operator==(const LensPass&) const = default;
};

// At least one pair of a horizontal pass and a vertical one at full size, one pair for each pass.
std::vector<LensPass> DepthOfFieldRounds(BlurSize colour, BlurSize a, BlurSize b, int passes);

// The passes that blur the colour as far as DepthOfFieldRounds: from three passes on, a colour with
// even sides of at least 64 texels and A and B of at least half its size is blurred at half its
// size in their corners, in two pairs; the picture is read back from B's corner that the last
// pass drew.
std::vector<LensPass> PlanDepthOfField(BlurSize colour, BlurSize a, BlurSize b, int passes);

using DepthOfFieldPlanner = std::vector<LensPass> (*)(BlurSize colour, BlurSize a, BlurSize b, int passes);

} // namespace postfx
