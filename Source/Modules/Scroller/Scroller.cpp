#include "Modules/Scroller/Scroller.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Timer/Timer.h"

namespace {

constexpr float DegreesToRadians = 0.017453292f;
constexpr float QuarterTurn = 1.5707964f;
// Far enough along x that the outer pieces are never clipped on their open side.
constexpr float Unbounded = 1000.0f;
const D3DXVECTOR4 Black{0.0f, 0.0f, 0.0f, 0.0f};
const D3DXVECTOR4 White{1.0f, 1.0f, 1.0f, 1.0f};

// world . Translation(-pivot) . RotationY(angle) . Translation(pivot): a turn about the vertical
// axis through pivot, after everything world already does.
D3DXMATRIX TurnedAbout(const D3DXMATRIX& world, const D3DXVECTOR3& pivot, float angle)
{
    D3DXMATRIX toPivot, rotation, back, product, turned;
    D3DXMatrixTranslation(&toPivot, -pivot.x, -pivot.y, -pivot.z);
    D3DXMatrixRotationY(&rotation, angle);
    D3DXMatrixTranslation(&back, pivot.x, pivot.y, pivot.z);
    D3DXMatrixMultiply(&product, &world, &toPivot);
    D3DXMatrixMultiply(&turned, &product, &rotation);
    D3DXMatrixMultiply(&product, &turned, &back);
    return product;
}

void Place(DXMesh& mesh, const D3DXMATRIX& world)
{
    mesh.worldMatrix = world;
    mesh.previousWorldMatrix = world;
}

void SetClip(float lower, float upper)
{
    const float clip[2] = {lower, upper};
    DXEffectHandler::SetVec2BySemantic("SCROLLCLIP", clip);
}

} // namespace

const std::array<Scroller::Fold, Scroller::LineCount> Scroller::Folds = {{
    {37.0, 50.0, {{{0.84f, 0.0f, -0.294f}, {0.234f, 0.0f, 0.492f}, {-0.551f, 0.0f, -0.114f}}}, 52.376f},
    {45.0, 57.0, {{{0.727f, 0.0f, -0.377f}, {0.055f, 0.0f, 0.353f}, {-0.677f, 0.0f, -0.317f}}}, 47.438f},
    {52.0, 68.0, {{{0.643f, 0.0f, -0.873f}, {0.345f, 0.0f, 0.076f}, {-0.601f, 0.0f, -0.223f}}}, 72.431f},
    {57.0, 77.0, {{{0.697f, 0.0f, -0.734f}, {0.205f, 0.0f, 0.129f}, {-0.656f, 0.0f, -0.361f}}}, 60.224f},
}};

void Scroller::Load()
{
    for (int i = 0; i < LineCount; ++i) {
        const std::string number = std::to_string(i + 1);
        auto line = std::make_unique<DXMesh>("TindrevikScroll" + number,
                                             NodeAnim::Translate | NodeAnim::Rotate | NodeAnim::PreviousFrame);
        line->LoadX("TindrevikScrollShape" + number + ".x");
        lines[i] = std::move(line);
    }
}

void Scroller::Release()
{
    for (auto& line : lines)
        line.reset();
}

void Scroller::Draw()
{
    DrawLines("ScrollerShader");
}

void Scroller::DrawDepth()
{
    DrawLines("ScrollerShaderZBuffer");
}

void Scroller::DrawLines(const std::string& technique)
{
    if (!lines[LineCount - 1])
        throw FrameworkEx("[Scroller::DrawLines] The module is not loaded");
    const double time = Timer::GetElapsed();
    for (int line = 0; line < LineCount; ++line)
        if (Folds[line].low < time && time < Folds[line].high)
            DrawFolded(technique, line);
}

void Scroller::DrawFolded(const std::string& technique, int line)
{
    DXMesh& mesh = *lines[line];
    const Fold& fold = Folds[line];
    const D3DXVECTOR3& p1 = fold.points[0];
    const D3DXVECTOR3& p2 = fold.points[1];
    const D3DXVECTOR3& p3 = fold.points[2];
    const std::string hidden = technique + "_zcull";

    // The line carries no motion between frames: both matrices are this frame's pose.
    mesh.UpdateAnimation(static_cast<float>(Timer::GetElapsed()));
    D3DXMATRIX world = mesh.worldMatrix;
    Place(mesh, world);

    SetClip(p1.x, Unbounded);
    mesh.SetMaterialDiffuse(Black);
    DXEffectHandler::SetTechnique(hidden);
    DXEffectHandler::DrawObject(mesh);

    world = TurnedAbout(world, p1, fold.angleDegrees * DegreesToRadians);
    Place(mesh, world);
    SetClip(p2.x, p1.x);
    mesh.SetMaterialDiffuse(White);
    DXEffectHandler::SetTechnique(technique);
    DXEffectHandler::DrawObject(mesh);

    world = TurnedAbout(world, p2, -QuarterTurn);
    Place(mesh, world);
    SetClip(p3.x, p2.x);
    DXEffectHandler::DrawObject(mesh);

    world = TurnedAbout(world, p3, (fold.angleDegrees - 90.0f) * -DegreesToRadians);
    Place(mesh, world);
    SetClip(-Unbounded, p3.x);
    mesh.SetMaterialDiffuse(Black);
    DXEffectHandler::SetTechnique(hidden);
    DXEffectHandler::DrawObject(mesh);
}
