// Everything drawn with DrawObject: a world matrix, the world matrix of one frame earlier (for
// motion blur) and, optionally, the node animation that drives both.
#pragma once

#include "Framework/Scene/NodeAnim.h"
#include "Platform/D3DX/D3DXMath.h"

#include <memory>
#include <string>

class BASERENDEROBJECT {
public:
    // Flags 0: no animation (the name is ignored). Otherwise the flags are the NodeAnim channel
    // mask, and the node animation of that name is made and its curves loaded (a curve that is
    // missing evaluates to 0). Throws FrameworkEx for flags without a name.
    BASERENDEROBJECT(const std::string& animationName, int animationFlags);
    virtual ~BASERENDEROBJECT();
    BASERENDEROBJECT(const BASERENDEROBJECT&) = delete;
    BASERENDEROBJECT& operator=(const BASERENDEROBJECT&) = delete;

    // Draws the geometry with the current effect pass; DrawObject runs the passes around it.
    virtual void Draw();

    // Moves the animation to time (seconds of the show) and takes its matrices; without an
    // animation the matrices stay as the owner wrote them.
    void UpdateAnimation(float time);

    D3DXMATRIX worldMatrix = IdentityMatrix();
    D3DXMATRIX previousWorldMatrix = IdentityMatrix();
    std::unique_ptr<NodeAnim> nodeAnimation;
};
