#include "Framework/Scene/NodeAnim.h"

namespace {

const char* const ChannelNames[3] = {".translate", ".rotate", ".scale"};
const char AxisLetters[3] = {'X', 'Y', 'Z'};

} // namespace

NodeAnim::NodeAnim(const std::string& nodeName, unsigned mask) : mask(mask)
{
    for (int axis = 0; axis < 3; ++axis)
        for (int channel = 0; channel < 3; ++channel)
            if (mask & (1u << channel)) {
                curves.push_back(registerCurve(nodeName + ChannelNames[channel] + AxisLetters[axis]));
                channelCurves[channel][axis] = curves.back().get();
            }
    for (Pose* pose : {&current, &previous}) {
        D3DXMatrixIdentity(&pose->rotationMatrix);
        D3DXMatrixIdentity(&pose->translationMatrix);
        D3DXMatrixIdentity(&pose->scaleMatrix);
        D3DXMatrixIdentity(&pose->world);
    }
}

bool NodeAnim::Load()
{
    bool all = true;
    for (auto& curve : curves)
        all = ensureLoaded(*curve) && all;
    return all;
}

void NodeAnim::Update(float x)
{
    if (mask & PreviousFrame) {
        Evaluate(x - PreviousFrameOffset, current);
        previous = current;
    }
    Evaluate(x, current);
}

void NodeAnim::Evaluate(float x, Pose& pose)
{
    D3DXVECTOR3* channels[3] = {&pose.translation, &pose.rotation, &pose.scale};
    for (int channel = 0; channel < 3; ++channel) {
        if (!(mask & (1u << channel)))
            continue;
        D3DXVECTOR3& value = *channels[channel];
        value.x = evaluate(*channelCurves[channel][0], x);
        value.y = evaluate(*channelCurves[channel][1], x);
        value.z = evaluate(*channelCurves[channel][2], x);
    }
    D3DXMATRIX rx, ry, rz;
    D3DXMatrixRotationX(&rx, pose.rotation.x);
    D3DXMatrixRotationY(&ry, pose.rotation.y);
    D3DXMatrixRotationZ(&rz, pose.rotation.z);
    D3DXMatrixMultiply(&pose.rotationMatrix, &rx, &ry);
    D3DXMatrixMultiply(&pose.rotationMatrix, &pose.rotationMatrix, &rz);
    D3DXMatrixTranslation(&pose.translationMatrix, pose.translation.x, pose.translation.y, pose.translation.z);
    D3DXMatrixScaling(&pose.scaleMatrix, pose.scale.x, pose.scale.y, pose.scale.z);
    D3DXMatrixMultiply(&pose.world, &pose.scaleMatrix, &pose.rotationMatrix);
    D3DXMatrixMultiply(&pose.world, &pose.world, &pose.translationMatrix);
}
