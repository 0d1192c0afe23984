#include "Platform/D3DX/D3DXFloat16.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

uint16_t Half(float value)
{
    D3DXFLOAT16 half;
    D3DXFloat32To16Array(&half, &value, 1);
    return half.value;
}

float Float(uint16_t bits)
{
    const D3DXFLOAT16 half{bits};
    float value = 0.0f;
    D3DXFloat16To32Array(&value, &half, 1);
    return value;
}

} // namespace

TEST(D3DXFloat16Test, LargestFiniteValueAndOverflowToInfinity)
{
    EXPECT_EQ(Half(65504.0f), 0x7bff);
    EXPECT_EQ(Half(65519.996f), 0x7bff); // just below the midpoint to the next step
    EXPECT_EQ(Half(65520.0f), 0x7c00);   // the midpoint rounds to the even neighbour, infinity
    EXPECT_EQ(Half(1e6f), 0x7c00);
    EXPECT_EQ(Half(-1e30f), 0xfc00);
    EXPECT_EQ(Half(std::numeric_limits<float>::infinity()), 0x7c00);
    EXPECT_EQ(Half(-std::numeric_limits<float>::infinity()), 0xfc00);
    EXPECT_EQ(Float(0x7bff), 65504.0f);
    EXPECT_EQ(Float(0xfc00), -std::numeric_limits<float>::infinity());
}

TEST(D3DXFloat16Test, DenormalsDownToTheSmallest)
{
    const float smallest = std::ldexp(1.0f, -24);
    EXPECT_EQ(Half(smallest), 0x0001);
    EXPECT_EQ(Float(0x0001), smallest);
    EXPECT_EQ(Half(std::ldexp(1.0f, -25)), 0x0000); // half of the smallest: a tie, to even zero
    EXPECT_EQ(Half(std::nextafter(std::ldexp(1.0f, -25), 1.0f)), 0x0001);
    EXPECT_EQ(Half(3.0f * std::ldexp(1.0f, -25)), 0x0002); // 1.5 units: a tie, to even 2
    EXPECT_EQ(Half(-std::ldexp(1.0f, -30)), 0x8000);
    EXPECT_EQ(Half(1023.0f * smallest), 0x03ff);
    EXPECT_EQ(Float(0x03ff), 1023.0f * smallest);
    EXPECT_EQ(Half(std::ldexp(1.0f, -14)), 0x0400); // the smallest normal
    EXPECT_EQ(Half(std::nextafter(std::ldexp(1.0f, -14), 0.0f)), 0x0400); // rounds up into it
}

TEST(D3DXFloat16Test, RoundingTiesGoToEven)
{
    EXPECT_EQ(Half(1.0f), 0x3c00);
    EXPECT_EQ(Half(-2.0f), 0xc000);
    EXPECT_EQ(Half(1.0f + std::ldexp(1.0f, -11)), 0x3c00);        // between 0x3c00 and 0x3c01
    EXPECT_EQ(Half(1.0f + 3.0f * std::ldexp(1.0f, -11)), 0x3c02); // between 0x3c01 and 0x3c02
    EXPECT_EQ(Half(1.0f + std::ldexp(1.0f, -11) + std::ldexp(1.0f, -20)), 0x3c01);
    EXPECT_EQ(Half(2047.5f), 0x6800); // the carry moves into the exponent: 2048
    EXPECT_EQ(Float(0x3555), 0.333251953125f);
}

TEST(D3DXFloat16Test, ZerosKeepTheirSignAndNaNStaysNaN)
{
    EXPECT_EQ(Half(0.0f), 0x0000);
    EXPECT_EQ(Half(-0.0f), 0x8000);
    EXPECT_TRUE(std::signbit(Float(0x8000)));
    EXPECT_EQ(Float(0x8000), 0.0f);

    const uint16_t quiet = Half(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(quiet & 0x7c00, 0x7c00);
    EXPECT_NE(quiet & 0x03ff, 0);
    // A payload only in the low bits would vanish in 10 bits and leave infinity behind.
    const uint16_t lowPayload = Half(std::bit_cast<float>(0xff800001u));
    EXPECT_EQ(lowPayload & 0xfc00, 0xfc00);
    EXPECT_NE(lowPayload & 0x03ff, 0);
    EXPECT_TRUE(std::isnan(Float(0x7c01)));
    EXPECT_TRUE(std::isnan(Float(0xfe00)));
}

TEST(D3DXFloat16Test, EveryHalfSurvivesTheRoundTrip)
{
    for (uint32_t bits = 0; bits <= 0xffff; ++bits) {
        const float value = Float(static_cast<uint16_t>(bits));
        if (std::isnan(value))
            EXPECT_TRUE(std::isnan(Float(Half(value)))) << std::hex << bits;
        else
            ASSERT_EQ(Half(value), bits) << std::hex << bits;
    }
}

TEST(D3DXFloat16Test, ArraysConvertEveryElement)
{
    const float in[4] = {0.5f, -1.5f, 3.0f, 0.0f};
    D3DXFLOAT16 half[4];
    float back[4] = {};
    EXPECT_EQ(D3DXFloat32To16Array(half, in, 4), half);
    EXPECT_EQ(D3DXFloat16To32Array(back, half, 4), back);
    EXPECT_EQ(half[1].value, 0xbe00);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(back[i], in[i]);
}
