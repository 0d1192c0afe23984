#include "Demo/Scenes/SwarmFocus.h"

#include <algorithm>
#include <cmath>

namespace {

// Drops one spread (root mean square) in depth from the focus are a fifth blurred.
constexpr double SpreadsToFullBlur = 5.0;
// A swarm gathered into a ball still has the room 5 units behind its middle fully blurred.
constexpr double MinimumRange = 4.0;
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
    return {static_cast<float>(mean), static_cast<float>(std::max(MinimumRange, SpreadsToFullBlur * spread))};
}
