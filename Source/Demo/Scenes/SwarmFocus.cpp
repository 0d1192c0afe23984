#include "Demo/Scenes/SwarmFocus.h"

#include <algorithm>
#include <cmath>

namespace {

// The drops nearest the camera hide the rest: the focus lies half a spread (root mean square, in
// depth) in front of the swarm's middle, on the side that is seen.
constexpr double SpreadsInFront = 0.5;
// Drops one spread from the focus are under a third blurred; the room behind a swarm spread out
// against its far wall, a few spreads back, more than half.
constexpr double SpreadsToFullBlur = 3.5;
// A swarm gathered into a ball still has the room 3 units behind its middle fully blurred.
constexpr double MinimumRange = 3.0;
constexpr SwarmFocus RoomFocus{8.0f, 10.0f};

// The linear depth the scene's targets hold: minus the view-space z.
double DepthOf(const D3DXVECTOR3& p, const D3DXMATRIX& view)
{
    return -(p.x * view(0, 2) + p.y * view(1, 2) + p.z * view(2, 2) + view(3, 2));
}

} // namespace

SwarmFocus FocusOnSwarm(const std::vector<D3DXVECTOR3>& positions, const D3DXMATRIX& view)
{
    if (positions.empty())
        return RoomFocus;
    double sum = 0.0;
    double sumOfSquares = 0.0;
    for (const D3DXVECTOR3& p : positions) {
        const double depth = DepthOf(p, view);
        sum += depth;
        sumOfSquares += depth * depth;
    }
    const double count = static_cast<double>(positions.size());
    const double mean = sum / count;
    const double spread = std::sqrt(std::max(0.0, sumOfSquares / count - mean * mean));
    // A camera among the drops focuses from its lens on.
    return {static_cast<float>(std::max(0.0, mean - SpreadsInFront * spread)),
            static_cast<float>(std::max(MinimumRange, SpreadsToFullBlur * spread))};
}
