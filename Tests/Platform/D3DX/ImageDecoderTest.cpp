#include "ImageFiles.h"
#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/ImageDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::vector<uint8_t> TexelOf(const CpuImage& image, uint32_t x, uint32_t y)
{
    const uint8_t* t = image.Texel(x, y);
    return {t[0], t[1], t[2], t[3]};
}

std::string FailureOf(const Bytes& bytes, uint32_t maxSide = MaxImageSide)
{
    try {
        DecodeImage(bytes.data(), bytes.size(), maxSide);
    } catch (const D3DXDataError& e) {
        return e.what();
    }
    return "decoded";
}

} // namespace

TEST(ImageDecoderTest, PngBecomesBgraRowsTopDown)
{
    // 3 x 2, RGBA, every texel different; row 0 is the top row of the file.
    const Bytes pixels = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, // top row
                          13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    const Bytes png = EncodePng(3, 2, 4, pixels);
    const CpuImage image = DecodeImage(png.data(), png.size());
    ASSERT_EQ(image.width, 3u);
    ASSERT_EQ(image.height, 2u);
    EXPECT_EQ(image.Pitch(), 12u);
    EXPECT_EQ(image.texels.size(), 24u);
    EXPECT_EQ(TexelOf(image, 0, 0), (std::vector<uint8_t>{3, 2, 1, 4}));
    EXPECT_EQ(TexelOf(image, 2, 0), (std::vector<uint8_t>{11, 10, 9, 12}));
    EXPECT_EQ(TexelOf(image, 1, 1), (std::vector<uint8_t>{19, 18, 17, 20}));
}

TEST(ImageDecoderTest, FewerChannelsAreWidenedAndOtherFormatsRead)
{
    const Bytes grey = EncodePng(2, 1, 1, {40, 200});
    const CpuImage g = DecodeImage(grey.data(), grey.size());
    EXPECT_EQ(TexelOf(g, 1, 0), (std::vector<uint8_t>{200, 200, 200, 255}));

    const Bytes greyAlpha = EncodePng(1, 1, 2, {90, 7});
    const CpuImage ga = DecodeImage(greyAlpha.data(), greyAlpha.size());
    EXPECT_EQ(TexelOf(ga, 0, 0), (std::vector<uint8_t>{90, 90, 90, 7}));

    // BMP stores rows bottom-up and TGA may too: the result is top-down all the same.
    const Bytes rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    for (const Bytes& file : {EncodeBmp(2, 2, 3, rgb), EncodeTga(2, 2, 3, rgb)}) {
        const CpuImage image = DecodeImage(file.data(), file.size());
        ASSERT_EQ(image.width, 2u);
        EXPECT_EQ(TexelOf(image, 0, 0), (std::vector<uint8_t>{0, 0, 255, 255}));
        EXPECT_EQ(TexelOf(image, 1, 1), (std::vector<uint8_t>{30, 20, 10, 255}));
    }
}

TEST(ImageDecoderTest, NothingGarbageAndTruncatedFilesAreRefused)
{
    EXPECT_EQ(FailureOf({}), "no image data");
    EXPECT_THROW(DecodeImage(nullptr, 10), D3DXDataError);
    const Bytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
    EXPECT_EQ(FailureOf(text).rfind("cannot decode the image: ", 0), 0u) << FailureOf(text);

    const Bytes png = EncodePng(16, 16, 4, SolidRgba(16, 16, 1, 2, 3, 4));
    for (size_t keep : {size_t(8), size_t(33), png.size() / 2, png.size() - 13}) {
        const Bytes cut(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(keep));
        EXPECT_EQ(FailureOf(cut).rfind("cannot decode the image: ", 0), 0u) << keep << ": " << FailureOf(cut);
    }
}

TEST(ImageDecoderTest, SidesBeyondTheLimitAreRefusedBeforeDecoding)
{
    const Bytes wide = EncodePng(8193, 1, 1, Bytes(8193, 0));
    EXPECT_EQ(FailureOf(wide), "the image is 8193x1; no side may exceed 8192");
    const Bytes widest = EncodePng(8192, 1, 1, Bytes(8192, 0));
    EXPECT_EQ(FailureOf(widest), "decoded");

    const Bytes tall = EncodePng(1, 65, 1, Bytes(65, 0));
    EXPECT_EQ(FailureOf(tall, 64), "the image is 1x65; no side may exceed 64");
}
