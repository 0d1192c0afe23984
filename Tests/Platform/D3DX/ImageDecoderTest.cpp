#include "ImageFiles.h"
#include "Support/ArchiveFiles.h"
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

TEST(ImageDecoderTest, GreySixteenBitPngAndJpegAreRead)
{
    const Bytes grey = EncodePng(2, 1, 1, {40, 200});
    const CpuImage g = DecodeImage(grey.data(), grey.size());
    EXPECT_EQ(TexelOf(g, 1, 0), (std::vector<uint8_t>{200, 200, 200, 255}));

    const Bytes greyAlpha = EncodePng(1, 1, 2, {90, 7});
    const CpuImage ga = DecodeImage(greyAlpha.data(), greyAlpha.size());
    EXPECT_EQ(TexelOf(ga, 0, 0), (std::vector<uint8_t>{90, 90, 90, 7}));

    // 16-bit samples keep their high byte.
    const Bytes deep = EncodePngRows(1, 1, 2, 16, {0x12, 0x34, 0xab, 0xcd, 0xff, 0x00});
    const CpuImage d = DecodeImage(deep.data(), deep.size());
    EXPECT_EQ(TexelOf(d, 0, 0), (std::vector<uint8_t>{0xff, 0xab, 0x12, 255}));

    // JPEG is lossy: a flat colour comes back within a step or two.
    Bytes rgb;
    for (int i = 0; i < 16 * 16; ++i)
        rgb.insert(rgb.end(), {200, 100, 50});
    const Bytes jpeg = EncodeJpeg(16, 16, 3, rgb);
    const CpuImage j = DecodeImage(jpeg.data(), jpeg.size());
    ASSERT_EQ(j.width, 16u);
    ASSERT_EQ(j.height, 16u);
    const std::vector<uint8_t> texel = TexelOf(j, 9, 13);
    EXPECT_NEAR(texel[0], 50, 2);
    EXPECT_NEAR(texel[1], 100, 2);
    EXPECT_NEAR(texel[2], 200, 2);
    EXPECT_EQ(texel[3], 255);
    const Bytes greyJpeg = EncodeJpeg(8, 8, 1, Bytes(64, 77));
    const CpuImage gj = DecodeImage(greyJpeg.data(), greyJpeg.size());
    EXPECT_EQ(TexelOf(gj, 3, 3)[0], TexelOf(gj, 3, 3)[2]);
    EXPECT_NEAR(TexelOf(gj, 3, 3)[1], 77, 2);
}

TEST(ImageDecoderTest, OtherKindsAreRefusedByName)
{
    const Bytes rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    EXPECT_EQ(FailureOf(EncodeBmp(2, 2, 3, rgb)), "the file is a BMP image; textures may be PNG or JPEG only");
    EXPECT_EQ(FailureOf(EncodeTga(2, 2, 3, rgb)), "the file is no PNG or JPEG image (the only kinds textures may be)");
    // 16 bits a sample in 16 bytes: this crashed the image decoder the show used before.
    const std::string deepPnm("P6\n36\n344\n626\n\xff\xff", 16);
    EXPECT_EQ(FailureOf(Bytes(deepPnm.begin(), deepPnm.end())),
              "the file is a PNM (PBM, PGM, PPM or PAM) image; textures may be PNG or JPEG only");
    const std::string gif = "GIF89a\x01\x00\x01\x00";
    EXPECT_EQ(FailureOf(Bytes(gif.begin(), gif.end())), "the file is a GIF image; textures may be PNG or JPEG only");
}

TEST(ImageDecoderTest, HeadersClaimingWhatTheKindDoesNotAllowAreRefused)
{
    // PNG: IHDR's fields start at byte 16: width, height, depth (24), colour type (25).
    const Bytes png = EncodePng(2, 2, 3, Bytes(12, 9));
    Bytes palette16 = png;
    palette16[24] = 16;
    palette16[25] = 3;
    EXPECT_EQ(FailureOf(palette16), "the PNG image claims 16 bits per sample with colour type 3, which PNG does not allow");
    Bytes noWidth = png;
    noWidth[16] = noWidth[17] = noWidth[18] = noWidth[19] = 0;
    EXPECT_EQ(FailureOf(noWidth), "the PNG image claims a size of 0x2");

    // JPEG: the frame header after the SOF marker: length, precision, height, width, components.
    const Bytes jpeg = EncodeJpeg(8, 8, 3, Bytes(8 * 8 * 3, 128));
    size_t sof = 2;
    while (sof + 1 < jpeg.size() && !(jpeg[sof] == 0xff && jpeg[sof + 1] == 0xc0))
        ++sof;
    ASSERT_LT(sof + 10, jpeg.size());
    Bytes twelveBits = jpeg;
    twelveBits[sof + 4] = 12;
    EXPECT_EQ(FailureOf(twelveBits), "the JPEG image has 12 bits per sample; only 8 are accepted");
    Bytes cmyk = jpeg;
    cmyk[sof + 9] = 4;
    EXPECT_EQ(FailureOf(cmyk), "the JPEG image has 4 colour components; only grey (1) and colour (3) are accepted");
    Bytes arithmetic = jpeg;
    arithmetic[sof + 1] = 0xc9;
    EXPECT_EQ(FailureOf(arithmetic).rfind("the JPEG image is lossless, hierarchical or arithmetic-coded", 0), 0u);
}

TEST(ImageDecoderTest, NothingGarbageAndTruncatedFilesAreRefused)
{
    EXPECT_EQ(FailureOf({}), "no image data");
    EXPECT_THROW(DecodeImage(nullptr, 10), D3DXDataError);
    const Bytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
    EXPECT_EQ(FailureOf(text), "the file is no PNG or JPEG image (the only kinds textures may be)");

    const Bytes png = EncodePng(16, 16, 4, SolidRgba(16, 16, 1, 2, 3, 4));
    EXPECT_EQ(FailureOf(Bytes(png.begin(), png.begin() + 20)), "the PNG image is cut off within its header");
    for (size_t keep : {size_t(33), png.size() / 2, png.size() - 13, png.size() - 1}) {
        const Bytes cut(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(keep));
        EXPECT_EQ(FailureOf(cut).rfind("cannot decode the PNG image: ", 0), 0u) << keep << ": " << FailureOf(cut);
    }
    const Bytes jpeg = EncodeJpeg(16, 16, 3, Bytes(16 * 16 * 3, 99));
    EXPECT_EQ(FailureOf(Bytes(jpeg.begin(), jpeg.begin() + 4)), "the JPEG image ends before its frame header");
    for (size_t keep : {jpeg.size() / 2, jpeg.size() - 2}) {
        const Bytes cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(keep));
        EXPECT_EQ(FailureOf(cut).rfind("cannot decode the JPEG image: ", 0), 0u) << keep << ": " << FailureOf(cut);
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
