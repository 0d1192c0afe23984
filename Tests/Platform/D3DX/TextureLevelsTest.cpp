#include "ImageFiles.h"
#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/D3DXFilter.h"
#include "Platform/D3DX/TextureLevels.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextureLevelsTest, FullChainUnlessTheMipFilterIsNone)
{
    const Bytes png = EncodePng(8, 4, 4, SolidRgba(8, 4, 10, 20, 30, 40));
    for (uint32_t filter : {D3DX_FILTER_DITHER_DIFFUSION, D3DX_DEFAULT, D3DX_FILTER_LINEAR, D3DX_FILTER_POINT}) {
        const auto levels = LoadTextureLevels(png.data(), png.size(), filter);
        ASSERT_EQ(levels.size(), 4u) << filter;
        EXPECT_EQ(levels[1].width, 4u);
        EXPECT_EQ(levels[2].height, 1u);
        EXPECT_EQ(levels[3].width, 1u);
        EXPECT_EQ(levels[3].texels, (std::vector<uint8_t>{30, 20, 10, 40}));
    }
    for (uint32_t filter : {D3DX_FILTER_NONE, D3DX_FILTER_NONE | D3DX_FILTER_DITHER}) {
        const auto levels = LoadTextureLevels(png.data(), png.size(), filter);
        ASSERT_EQ(levels.size(), 1u) << filter;
        EXPECT_EQ(levels[0].width, 8u);
    }
}

TEST(TextureLevelsTest, CubeFacesComeFromAVerticalStripInFaceOrder)
{
    // 2 wide, 12 high: face f is rows 2f and 2f+1, coloured (f, 10f, 20f) with its top row marked
    // by alpha 1 and its bottom row by alpha 2.
    Bytes pixels;
    for (uint8_t face = 0; face < 6; ++face)
        for (uint8_t row = 0; row < 2; ++row)
            for (int x = 0; x < 2; ++x)
                pixels.insert(pixels.end(), {face, uint8_t(10 * face), uint8_t(20 * face), uint8_t(row + 1)});
    const Bytes png = EncodePng(2, 12, 4, pixels);
    const auto faces = LoadCubeTextureLevels(png.data(), png.size());
    for (uint8_t face = 0; face < 6; ++face) {
        ASSERT_EQ(faces[face].size(), 2u);
        const CpuImage& top = faces[face][0];
        ASSERT_EQ(top.width, 2u);
        ASSERT_EQ(top.height, 2u);
        EXPECT_EQ(std::vector<uint8_t>(top.Texel(1, 0), top.Texel(1, 0) + 4),
                  (std::vector<uint8_t>{uint8_t(20 * face), uint8_t(10 * face), face, 1}));
        EXPECT_EQ(top.Texel(0, 1)[3], 2);
        EXPECT_EQ(faces[face][1].Texel(0, 0)[2], face);
    }
}

TEST(TextureLevelsTest, ACubeImageOfAnotherShapeIsRefused)
{
    for (auto [w, h] : {std::pair{2, 10}, std::pair{3, 3}, std::pair{12, 2}}) {
        const Bytes png = EncodePng(w, h, 4, SolidRgba(w, h, 0, 0, 0, 0));
        try {
            LoadCubeTextureLevels(png.data(), png.size());
            ADD_FAILURE() << w << "x" << h << " was accepted";
        } catch (const D3DXDataError& e) {
            EXPECT_NE(std::string(e.what()).find("must be N wide and 6N high"), std::string::npos);
            EXPECT_NE(std::string(e.what()).find(std::to_string(w) + "x" + std::to_string(h)), std::string::npos);
        }
    }
    const Bytes garbage = {1, 2, 3};
    EXPECT_THROW(LoadTextureLevels(garbage.data(), garbage.size(), D3DX_DEFAULT), D3DXDataError);
    EXPECT_THROW(LoadCubeTextureLevels(garbage.data(), garbage.size()), D3DXDataError);
}
