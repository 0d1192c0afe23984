// The animation of a scene node: translate, rotate and scale channels of three curves each, and
// optionally the pose of one sixtieth of a second earlier (for motion blur).
#pragma once

#include "Framework/Scene/AnimCurve.h"
#include "Platform/D3DX/D3DXMath.h"

#include <memory>
#include <string>
#include <vector>

class NodeAnim {
public:
    enum Channel : unsigned { Translate = 1, Rotate = 2, Scale = 4, PreviousFrame = 8 };

    // The time step back to the previous-frame pose.
    static constexpr float PreviousFrameOffset = 0.016666668f;

    struct Pose {
        D3DXVECTOR3 translation{0.0f, 0.0f, 0.0f};
        D3DXVECTOR3 rotation{0.0f, 0.0f, 0.0f};
        D3DXVECTOR3 scale{1.0f, 1.0f, 1.0f};
        D3DXMATRIX rotationMatrix, translationMatrix, scaleMatrix, world;
    };

    // Registers nodeName + ".translateX" ... in axis order X, Y, Z, channels in the order
    // translate, rotate, scale.
    NodeAnim(const std::string& nodeName, unsigned mask);

    // Loads every curve (all are attempted); true when all of them loaded.
    bool Load();

    // The pose at x seconds, and with PreviousFrame the pose at x - 1/60 s as well.
    void Update(float x);

    const unsigned mask;
    Pose current;
    Pose previous;
    const std::vector<std::unique_ptr<CurveHandle>>& Curves() const { return curves; }

private:
    void Evaluate(float x, Pose& pose);

    std::vector<std::unique_ptr<CurveHandle>> curves;
    CurveHandle* channelCurves[3][3] = {}; // [channel][axis]
};
