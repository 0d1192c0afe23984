// The scroller: four lines of 3D text, each sliding along its own animation path and folding around
// three vertical edges, as if the text ran across the faces of a box. The mesh is never deformed:
// each line is drawn four times a frame, each piece with its own world matrix (rotations about
// vertical axes through the fold points, accumulated) and its own interval of the world x axis,
// "SCROLLCLIP", outside which the effect keeps nothing. The two outer pieces use the technique's
// "_zcull" variant with a black material, the two inner ones carry the visible text.
#pragma once

#include "Framework/DXMesh/DXMesh.h"
#include "Framework/ModuleHandler/DXModule.h"

#include <array>
#include <memory>
#include <string>

class Scroller : public DXModule {
public:
    static constexpr int LineCount = 4;

    // Where line i folds and when it shows: the window is open while low < t < high.
    struct Fold {
        double low;
        double high;
        std::array<D3DXVECTOR3, 3> points;
        float angleDegrees;
    };
    static const std::array<Fold, LineCount> Folds;

    explicit Scroller(std::string name) : DXModule(std::move(name)) {}

    // Line i (1..4): the animation "TindrevikScroll<i>" (translate, rotate, previous frame) and the
    // mesh "TindrevikScrollShape<i>.x".
    void Load() override;
    void Release() override;
    // The colour pass, "ScrollerShader", with the effect the caller made active.
    void Draw() override;
    // The depth pass, "ScrollerShaderZBuffer".
    void DrawDepth();
    // Every line whose window holds the show time, folded, with technique and its "_zcull" variant.
    void DrawLines(const std::string& technique);

    std::array<std::unique_ptr<DXMesh>, LineCount> lines;

private:
    void DrawFolded(const std::string& technique, int line);
};
