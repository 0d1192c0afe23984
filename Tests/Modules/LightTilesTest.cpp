// Where the point lights land: every pixel whose centre sees a point of a light's sphere lies in
// the light's footprint, which is not much larger, and the tiles list exactly the lights that
// reach them.
#include "Modules/PostEffects/detail/LightTiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace postfx::detail;

namespace {

constexpr uint32_t Width = 320, Height = 180;
// A 16:9 lens, 60 degrees high, far plane at 100.
const PlaneExtents Far{100.0f * std::tan(0.5236f) * 16.0f / 9.0f, 100.0f * std::tan(0.5236f), 100.0f};

// Where a view-space point in front of the eye falls, in pixels from the picture's top left.
std::pair<double, double> PixelOf(const D3DXVECTOR3& point)
{
    const double depth = -point.z;
    return {(point.x / depth / (Far.halfWidth / Far.distance) + 1.0) * 0.5 * Width,
            (1.0 - point.y / depth / (Far.halfHeight / Far.distance)) * 0.5 * Height};
}

} // namespace

TEST(LightTilesTest, AFootprintHoldsEveryPixelItsSphereCoversAndLittleMore)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> across(-12.0f, 12.0f), depth(-30.0f, 2.0f), reach(0.2f, 6.0f);
    std::normal_distribution<float> direction;
    int partial = 0;
    for (int light = 0; light < 300; ++light) {
        const D3DXVECTOR3 centre{across(random), across(random), depth(random)};
        const float radius = reach(random);
        const PixelRect footprint = SphereFootprint(Far, centre, radius, Width, Height);
        ASSERT_LE(footprint.right, Width);
        ASSERT_LE(footprint.bottom, Height);
        if (std::abs(centre.z) <= radius * 1.01f) {
            EXPECT_FALSE(footprint.Empty()) << "a sphere round the eye's plane may cover any pixel";
            continue;
        }
        // Points on the sphere seen in the picture: each inside; the extremes near the edges.
        double least[2] = {1e9, 1e9}, most[2] = {-1e9, -1e9};
        int seen = 0;
        for (int i = 0; i < 4000; ++i) {
            D3DXVECTOR3 on{direction(random), direction(random), direction(random)};
            const float length = std::sqrt(on.x * on.x + on.y * on.y + on.z * on.z);
            on = {centre.x + on.x / length * radius, centre.y + on.y / length * radius, centre.z + on.z / length * radius};
            const auto [x, y] = PixelOf(on);
            if (on.z >= 0.0f || x < 0.0 || y < 0.0 || x >= Width || y >= Height)
                continue;
            EXPECT_GE(x, footprint.left);
            EXPECT_LT(x, footprint.right);
            EXPECT_GE(y, footprint.top);
            EXPECT_LT(y, footprint.bottom);
            ++seen;
            least[0] = std::min(least[0], x), least[1] = std::min(least[1], y);
            most[0] = std::max(most[0], x), most[1] = std::max(most[1], y);
        }
        if (seen > 0 && least[0] > 8.0 && least[1] > 8.0 && most[0] < Width - 8.0 && most[1] < Height - 8.0) {
            ++partial;
            EXPECT_GT(least[0], footprint.left + 0.5) << "no more than the margin left of the sphere";
            EXPECT_LT(least[0], footprint.left + 4.0);
            EXPECT_LT(least[1], footprint.top + 4.0);
            EXPECT_GT(most[0], footprint.right - 4.0);
            EXPECT_GT(most[1], footprint.bottom - 4.0);
        }
    }
    EXPECT_GT(partial, 30) << "enough lights wholly inside the picture to judge the fit";
    EXPECT_TRUE(SphereFootprint(Far, {0.0f, 0.0f, 5.0f}, 1.0f, Width, Height).Empty()) << "behind the eye";
    EXPECT_TRUE(SphereFootprint(Far, {0.0f, 0.0f, -5.0f}, NAN, Width, Height).Empty());
}

TEST(LightTilesTest, TilesCoverThePictureAndListExactlyTheLightsThatReachThemInOrder)
{
    const std::vector<PixelRect> footprints = {{0, 0, 10, 10}, {150, 100, 320, 180}, {5, 5, 5, 90}, {0, 0, 320, 180}};
    const std::vector<LightTile> tiles = PlanLightTiles(footprints, Width, Height, 96);
    ASSERT_EQ(tiles.size(), 8u) << "4 x 2 tiles, the last column and row narrower, the empty light in none";
    uint64_t covered = 0;
    for (const LightTile& tile : tiles) {
        covered += uint64_t(tile.area.right - tile.area.left) * (tile.area.bottom - tile.area.top);
        EXPECT_LE(tile.area.right - tile.area.left, 96u);
        std::vector<size_t> reaching;
        for (size_t i = 0; i < footprints.size(); ++i)
            if (footprints[i].Overlaps(tile.area))
                reaching.push_back(i);
        EXPECT_EQ(tile.lights, reaching);
        EXPECT_EQ(std::count(tile.lights.begin(), tile.lights.end(), 2u), 0);
    }
    EXPECT_EQ(covered, uint64_t(Width) * Height);
    EXPECT_EQ(tiles.back().area.right, Width);
    EXPECT_EQ(tiles.back().lights, (std::vector<size_t>{1, 3}));
    EXPECT_TRUE(PlanLightTiles(std::vector<PixelRect>{{0, 0, 10, 10}}, Width, Height, 96).size() == 1u);
}
