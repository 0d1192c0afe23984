// The dev mode's overlay: lines of text over dark boxes at the top left of the letterboxed picture,
// in the glyph atlas the data build renders (Data\OverlayGlyphs.png, textcard --glyphs), drawn
// with the effect "Overlay" through the device's operations after the frame's picture is done.
// A module of the framework's own, so that it loads and releases with the device's resources.
#pragma once

#include "Framework/ModuleHandler/DXModule.h"
#include "Framework/RenderClasses/Quads/Quads.h"

#include <memory>
#include <string>
#include <vector>

class Overlay : public DXModule {
public:
    static inline const std::string ModuleName = "Overlay";
    static inline const std::string AtlasFile = "Data\\OverlayGlyphs.png";
    // The atlas: 16 x 6 cells, character c in cell c - 32, row by row from the top left.
    static constexpr int AtlasColumns = 16, AtlasRows = 6, FirstCharacter = 32;
    static constexpr unsigned MaxQuads = 1024;

    Overlay() : DXModule(ModuleName) {}
    ~Overlay() override;

    // The effect, the atlas (FrameworkEx naming it when the archive's is missing or broken) and
    // the quads.
    void Load() override;
    void Release() override;

    // Draws the lines into the bound target within the viewport of the picture (width x height
    // pixels); characters outside the atlas show as '?'. Lines beyond the quads' room are cut.
    void DrawLines(const std::vector<std::string>& lines, unsigned width, unsigned height);

private:
    IDirect3DTexture9* glyphs = nullptr;
    std::unique_ptr<Quads> quads;
};
