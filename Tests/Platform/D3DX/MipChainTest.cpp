#include "Platform/D3DX/MipChain.h"

#include <gtest/gtest.h>

namespace {

// A width x height image whose texels all hold (b, g, r, a) = (value, value, value, alpha).
CpuImage Grey(uint32_t width, uint32_t height, std::initializer_list<uint8_t> values, uint8_t alpha = 255)
{
    CpuImage image{width, height, {}};
    for (uint8_t v : values)
        image.texels.insert(image.texels.end(), {v, v, v, alpha});
    return image;
}

} // namespace

TEST(MipChainTest, LevelCountsFloorEachSide)
{
    EXPECT_EQ(MipLevelCount(1, 1), 1u);
    EXPECT_EQ(MipLevelCount(8, 1), 4u);
    EXPECT_EQ(MipLevelCount(5, 3), 3u); // 5x3, 2x1, 1x1
    EXPECT_EQ(MipLevelCount(1024, 768), 11u);
    EXPECT_EQ(MipLevelCount(8192, 8192), 14u);

    const auto chain = BuildMipChain(Grey(5, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[1].width, 2u);
    EXPECT_EQ(chain[1].height, 1u);
    EXPECT_EQ(chain[2].width, 1u);
    EXPECT_EQ(chain[2].height, 1u);
    EXPECT_EQ(chain[1].texels.size(), 8u);
}

TEST(MipChainTest, EvenSizesAverageTwoByTwoBlocksRoundingHalfUp)
{
    // Blocks: {0,0,0,1} -> 0.25 -> 0; {1,1,1,0} -> 0.75 -> 1; {0,1,0,1} -> 0.5 -> 1; {100,200,50,30} -> 95.
    const CpuImage image = Grey(4, 4, {0, 0, 1, 1, //
                                       0, 1, 1, 0, //
                                       0, 1, 100, 200, //
                                       0, 1, 50, 30});
    const CpuImage half = HalveImage(image);
    ASSERT_EQ(half.width, 2u);
    EXPECT_EQ(half.Texel(0, 0)[0], 0);
    EXPECT_EQ(half.Texel(1, 0)[1], 1);
    EXPECT_EQ(half.Texel(0, 1)[2], 1);
    EXPECT_EQ(half.Texel(1, 1)[0], 95);
    EXPECT_EQ(half.Texel(1, 1)[3], 255);
    // The last level: (0 + 1 + 1 + 95) / 4 = 24.25 -> 24.
    EXPECT_EQ(BuildMipChain(image).back().Texel(0, 0)[0], 24);
}

TEST(MipChainTest, OddSizesWeighTheBorderTexelsByTheirCoverage)
{
    // 5 -> 2: texel 0 covers 1, 1 and half of the middle one, texel 1 the other half and 1, 1:
    // (2*10 + 2*20 + 30) / 5 = 18 and (30 + 2*40 + 2*50) / 5 = 42.
    const CpuImage half = HalveImage(Grey(5, 1, {10, 20, 30, 40, 50}));
    ASSERT_EQ(half.width, 2u);
    ASSERT_EQ(half.height, 1u);
    EXPECT_EQ(half.Texel(0, 0)[0], 18);
    EXPECT_EQ(half.Texel(1, 0)[0], 42);

    // 3 -> 1 down a column: the plain average, (30 + 60 + 120) / 3 = 70.
    const CpuImage column = HalveImage(Grey(1, 3, {30, 60, 120}));
    ASSERT_EQ(column.width, 1u);
    ASSERT_EQ(column.height, 1u);
    EXPECT_EQ(column.Texel(0, 0)[1], 70);
}

TEST(MipChainTest, ChannelsAreFilteredApartAndAConstantImageStaysConstant)
{
    CpuImage image{2, 1, {10, 20, 30, 0, 30, 40, 50, 255}};
    const CpuImage half = HalveImage(image);
    EXPECT_EQ(half.texels, (std::vector<uint8_t>{20, 30, 40, 128}));

    CpuImage constant{7, 5, {}};
    for (int i = 0; i < 35; ++i)
        constant.texels.insert(constant.texels.end(), {9, 99, 199, 254});
    for (const CpuImage& level : BuildMipChain(constant))
        for (size_t i = 0; i < level.texels.size(); i += 4)
            ASSERT_EQ(std::vector<uint8_t>(level.texels.begin() + i, level.texels.begin() + i + 4),
                      (std::vector<uint8_t>{9, 99, 199, 254}))
                << level.width << "x" << level.height;
}
