#include "Platform/D3DX/D3DXMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

D3DXMATRIX Matrix(std::initializer_list<float> values)
{
    D3DXMATRIX m;
    auto it = values.begin();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            m.m[r][c] = *it++;
    return m;
}

void ExpectNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float tolerance)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(a.m[r][c], b.m[r][c], tolerance) << r << "," << c;
}

} // namespace

TEST(D3DXMathTest, InverseOfAGeneralMatrixAndItsDeterminant)
{
    // Worked out by hand: det = 2 * 3 * 4 * 1 for an upper-triangular block plus a translation.
    const D3DXMATRIX m = Matrix({2, 1, 0, 0, 0, 3, 1, 0, 0, 0, 4, 0, 5, 6, 7, 1});
    D3DXMATRIX inverse, product, identity;
    float det = 0.0f;
    ASSERT_NE(D3DXMatrixInverse(&inverse, &det, &m), nullptr);
    EXPECT_FLOAT_EQ(det, 24.0f);
    D3DXMatrixIdentity(&identity);
    ExpectNear(*D3DXMatrixMultiply(&product, &m, &inverse), identity, 1e-6f);
    ExpectNear(*D3DXMatrixMultiply(&product, &inverse, &m), identity, 1e-6f);
    EXPECT_FLOAT_EQ(inverse.m[0][0], 0.5f);
    EXPECT_FLOAT_EQ(inverse.m[0][1], -1.0f / 6.0f);

    const D3DXMATRIX singular = Matrix({1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1});
    D3DXMATRIX untouched = m;
    EXPECT_EQ(D3DXMatrixInverse(&untouched, &det, &singular), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_EQ(untouched, m);
}

TEST(D3DXMathTest, RotationsTurnRowVectorsCounterClockwiseAboutTheirAxis)
{
    const float quarter = 1.5707964f;
    D3DXMATRIX r;
    D3DXVECTOR4 out;
    const D3DXVECTOR3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    D3DXVec3Transform(&out, &y, D3DXMatrixRotationX(&r, quarter));
    EXPECT_NEAR(out.z, 1.0f, 1e-6);
    D3DXVec3Transform(&out, &z, D3DXMatrixRotationY(&r, quarter));
    EXPECT_NEAR(out.x, 1.0f, 1e-6);
    D3DXVec3Transform(&out, &x, D3DXMatrixRotationZ(&r, quarter));
    EXPECT_NEAR(out.y, 1.0f, 1e-6);
}

TEST(D3DXMathTest, YawPitchRollIsRollThenPitchThenYaw)
{
    const float yaw = 0.3f, pitch = -0.7f, roll = 1.1f;
    D3DXMATRIX rz, rx, ry, expected, actual;
    D3DXMatrixRotationZ(&rz, roll);
    D3DXMatrixRotationX(&rx, pitch);
    D3DXMatrixRotationY(&ry, yaw);
    D3DXMatrixMultiply(&expected, &rz, &rx);
    D3DXMatrixMultiply(&expected, &expected, &ry);
    ExpectNear(*D3DXMatrixRotationYawPitchRoll(&actual, yaw, pitch, roll), expected, 1e-6f);
}

TEST(D3DXMathTest, TransformAppliesTranslationAndNormalizeKeepsZero)
{
    D3DXMATRIX s, t, st;
    D3DXMatrixScaling(&s, 2, 3, 4);
    D3DXMatrixTranslation(&t, 1, -1, 0.5f);
    D3DXMatrixMultiply(&st, &s, &t);
    D3DXVECTOR4 out;
    const D3DXVECTOR3 p{1, 1, 1};
    D3DXVec3Transform(&out, &p, &st);
    EXPECT_EQ(out.x, 3.0f);
    EXPECT_EQ(out.y, 2.0f);
    EXPECT_EQ(out.z, 4.5f);
    EXPECT_EQ(out.w, 1.0f);

    D3DXVECTOR3 n;
    const D3DXVECTOR3 v{3, 0, -4}, zero{};
    D3DXVec3Normalize(&n, &v);
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.z, -0.8f);
    D3DXVec3Normalize(&n, &zero);
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_FALSE(std::isnan(n.y));
}
