// The box scene's focus on its swarm: on its near side in depth, with a range that follows the
// spread in depth (not across the picture), with a floor, through any camera.
#include "Demo/Scenes/SwarmFocus.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

D3DXMATRIX LookingAt(D3DXVECTOR3 eye, D3DXVECTOR3 at)
{
    const D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
    D3DXMATRIX view;
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    return view;
}

} // namespace

TEST(SwarmFocusTest, FocusesOnTheSwarmsNearSideWithARangeThatGrowsWithItsDepthSpread)
{
    // Around (1, 2, -3): spread along z by 1, along x by 2.31 (root mean square).
    const std::vector<D3DXVECTOR3> drops = {{1, 2, -2}, {1, 2, -4}, {5, 2, -2}, {-3, 2, -4}, {1, 6, -4}, {1, -2, -2}};
    const D3DXVECTOR3 middle{1.0f, 2.0f, -3.0f};

    SwarmFocus focus = FocusOnSwarm(drops, LookingAt({1.0f, 2.0f, 9.0f}, middle)); // 12 units along -z
    EXPECT_NEAR(focus.distance, 11.5f, 1e-4f) << "half a spread in front of the middle";
    EXPECT_NEAR(focus.range, 3.5f, 1e-4f);

    const float spread = std::sqrt(16.0f / 3.0f);
    focus = FocusOnSwarm(drops, LookingAt({-9.0f, 2.0f, -3.0f}, middle)); // 10 units along +x
    EXPECT_NEAR(focus.distance, 10.0f - 0.5f * spread, 1e-4f);
    EXPECT_NEAR(focus.range, 3.5f * spread, 1e-3f);

    // Seen from above, the swarm is thinner in depth than the range's floor.
    focus = FocusOnSwarm({{0, 0.1f, 0}, {3, -0.1f, 0}}, LookingAt({0.0f, 10.0f, 0.0f}, {0.0f, 0.0f, -0.01f}));
    EXPECT_NEAR(focus.distance, 9.95f, 1e-3f);
    EXPECT_FLOAT_EQ(focus.range, 3.0f);

    // The camera in the middle of the swarm: the focus starts at its lens.
    EXPECT_EQ(FocusOnSwarm(drops, LookingAt(middle, {1.0f, 2.0f, -10.0f})).distance, 0.0f);
}
