// The box scene's focus on its swarm: on its near side in depth, with a range that follows the
// spread in depth (not across the picture), with a floor, through any camera.
#include "Demo/Scenes/SwarmFocus.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

D3DXMATRIX LookingAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& at)
{
    const D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
    D3DXMATRIX view;
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    return view;
}

// Drops in pairs at middle +- offset.
std::vector<D3DXVECTOR3> Pairs(const D3DXVECTOR3& middle, const std::vector<D3DXVECTOR3>& offsets)
{
    std::vector<D3DXVECTOR3> drops;
    for (const D3DXVECTOR3& o : offsets) {
        drops.push_back({middle.x + o.x, middle.y + o.y, middle.z + o.z});
        drops.push_back({middle.x - o.x, middle.y - o.y, middle.z - o.z});
    }
    return drops;
}

} // namespace

TEST(SwarmFocusTest, FocusesOnTheSwarmsNearSideWithARangeThatGrowsWithItsDepthSpread)
{
    const D3DXVECTOR3 middle{1.0f, 2.0f, -3.0f};
    const D3DXMATRIX front = LookingAt({1.0f, 2.0f, 9.0f}, middle); // 12 units along -z
    const D3DXMATRIX side = LookingAt({-9.0f, 2.0f, -3.0f}, middle); // 10 units along +x

    // Spread along z by 1, and across by 4 (which blurs nothing from the front).
    const std::vector<D3DXVECTOR3> deep = Pairs(middle, {{0.0f, 0.0f, 1.0f}, {4.0f, 0.0f, 1.0f}, {0.0f, 4.0f, -1.0f}});
    SwarmFocus focus = FocusOnSwarm(deep, front);
    EXPECT_NEAR(focus.distance, 11.5f, 1e-4f) << "half a spread in front of the middle";
    EXPECT_NEAR(focus.range, 3.5f, 1e-4f);

    // From the side the same swarm spreads 2.31 in depth (x): a wider range, nearer focus.
    focus = FocusOnSwarm(deep, side);
    const float spread = std::sqrt(16.0f / 3.0f);
    EXPECT_NEAR(focus.distance, 10.0f - 0.5f * spread, 1e-4f);
    EXPECT_NEAR(focus.range, 3.5f * spread, 1e-3f);

    // A swarm gathered into a thin sheet facing the camera: the range's floor.
    focus = FocusOnSwarm(Pairs(middle, {{3.0f, 0.0f, 0.1f}}), front);
    EXPECT_NEAR(focus.distance, 11.95f, 1e-4f);
    EXPECT_FLOAT_EQ(focus.range, 3.0f);

    // The camera in the middle of the swarm: the focus starts at its lens.
    focus = FocusOnSwarm(deep, LookingAt(middle, {1.0f, 2.0f, -10.0f}));
    EXPECT_EQ(focus.distance, 0.0f);
}
