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

TEST(D3DXMathTest, TransposeSwapsRowsAndColumnsAlsoInPlace)
{
    D3DXMATRIX m = Matrix({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    const D3DXMATRIX expected = Matrix({1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16});
    D3DXMATRIX t;
    EXPECT_EQ(*D3DXMatrixTranspose(&t, &m), expected);
    EXPECT_EQ(*D3DXMatrixTranspose(&m, &m), expected);
}

TEST(D3DXMathTest, PerspectiveFovRHMapsNearAndFarToZeroAndOne)
{
    // fovy 90 degrees: yScale = cot(45) = 1; aspect 2: xScale = 0.5; zn 1, zf 3:
    // m22 = zf / (zn - zf) = -1.5, m32 = zn * zf / (zn - zf) = -1.5, m23 = -1.
    D3DXMATRIX p;
    D3DXMatrixPerspectiveFovRH(&p, 1.5707964f, 2.0f, 1.0f, 3.0f);
    ExpectNear(p, Matrix({0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1.5f, -1, 0, 0, -1.5f, 0}), 1e-6f);

    D3DXVECTOR4 out;
    const D3DXVECTOR3 nearPoint{0, 0, -1}, farPoint{2, 1, -3};
    D3DXVec3Transform(&out, &nearPoint, &p);
    EXPECT_NEAR(out.z / out.w, 0.0f, 1e-6);
    D3DXVec3Transform(&out, &farPoint, &p);
    EXPECT_NEAR(out.z / out.w, 1.0f, 1e-6);
    EXPECT_NEAR(out.x / out.w, 1.0f / 3.0f, 1e-6); // 2 * 0.5 / 3
    EXPECT_NEAR(out.y / out.w, 1.0f / 3.0f, 1e-6);
}

TEST(D3DXMathTest, LookAtRHPutsTheEyeAtTheOriginLookingDownMinusZ)
{
    // eye (5,0,0) looking at the origin, up +y: z = (1,0,0), x = up x z = (0,0,-1), y = z x x = (0,1,0);
    // the rows hold the axes' components, the last row minus their dot products with the eye.
    const D3DXVECTOR3 eye{5, 0, 0}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMATRIX view;
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    ExpectNear(view, Matrix({0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -5, 1}), 1e-6f);

    D3DXVECTOR4 out;
    D3DXVec3Transform(&out, &at, &view);
    EXPECT_NEAR(out.x, 0.0f, 1e-6);
    EXPECT_NEAR(out.z, -5.0f, 1e-6);

    // A translated eye looking down -z leaves the axes alone: only the last row moves.
    const D3DXVECTOR3 eye2{1, 2, 3}, at2{1, 2, 0};
    D3DXMatrixLookAtRH(&view, &eye2, &at2, &up);
    ExpectNear(view, Matrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -2, -3, 1}), 1e-6f);
}

TEST(D3DXMathTest, PlaneFromPointsFollowsTheWinding)
{
    const D3DXVECTOR3 a{0, 0, 2}, b{1, 0, 2}, c{0, 1, 2};
    D3DXPLANE plane;
    D3DXPlaneFromPoints(&plane, &a, &b, &c);
    EXPECT_FLOAT_EQ(plane.a, 0.0f);
    EXPECT_FLOAT_EQ(plane.b, 0.0f);
    EXPECT_FLOAT_EQ(plane.c, 1.0f);
    EXPECT_FLOAT_EQ(plane.d, -2.0f);

    // (1,0,0), (0,1,0), (0,0,1): edges (-1,1,0) and (-1,0,1), cross (1,1,1), d = -1/sqrt(3).
    const D3DXVECTOR3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    const float third = 1.0f / std::sqrt(3.0f);
    D3DXPlaneFromPoints(&plane, &x, &y, &z);
    EXPECT_FLOAT_EQ(plane.a, third);
    EXPECT_FLOAT_EQ(plane.c, third);
    EXPECT_FLOAT_EQ(plane.d, -third);
    D3DXPlaneFromPoints(&plane, &x, &z, &y);
    EXPECT_FLOAT_EQ(plane.b, -third);
    EXPECT_FLOAT_EQ(plane.d, third);
}

TEST(D3DXMathTest, VectorHelpers)
{
    const D3DXVECTOR3 a{1, 2, 3}, b{4, 5, 6};
    D3DXVECTOR3 out;
    D3DXVec3Cross(&out, &a, &b); // (2*6 - 3*5, 3*4 - 1*6, 1*5 - 2*4)
    EXPECT_EQ(out.x, -3.0f);
    EXPECT_EQ(out.y, 6.0f);
    EXPECT_EQ(out.z, -3.0f);
    EXPECT_EQ(D3DXVec3Dot(&a, &b), 32.0f);
    const D3DXVECTOR3 v{2, 3, 6};
    EXPECT_EQ(D3DXVec3Length(&v), 7.0f);
    D3DXVec3Subtract(&out, &a, &b);
    EXPECT_EQ(out.x, -3.0f);
    EXPECT_EQ(out.z, -3.0f);
    out = a;
    D3DXVec3Cross(&out, &out, &b); // the result may overwrite an argument
    EXPECT_EQ(out.y, 6.0f);
}
