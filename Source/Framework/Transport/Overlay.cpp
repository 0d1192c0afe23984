#include "Framework/Transport/Overlay.h"

#include "Framework/DXEffect/CreateTextureFromFile.h"
#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/ReleaseAndClear.h"

#include <algorithm>

namespace {

constexpr D3DCOLOR TextColour = 0xFFF2F2E6;
constexpr D3DCOLOR BoxColour = 0x99000000;

struct Rect {
    float left, top, right, bottom; // pixels of the picture, y down
};

} // namespace

Overlay::~Overlay()
{
    Release();
}

void Overlay::Load()
{
    DXFramework& framework = *DXFramework::Instance();
    DXEffectHandler::Instance()->AddEffect(ModuleName, "Overlay.fx", framework.effectPool);
    if (FAILED(CreateTextureFromFile(AtlasFile, D3DX_FILTER_NONE, D3DX_FILTER_NONE, &glyphs)))
        throw FrameworkEx("[Overlay::Load] " + AtlasFile + ": the overlay's glyphs are missing or no picture");
    quads = std::make_unique<Quads>("", MaxQuads, 1);
}

void Overlay::Release()
{
    quads.reset();
    ReleaseAndClear(glyphs);
}

void Overlay::DrawLines(const std::vector<std::string>& lines, unsigned width, unsigned height)
{
    if (!quads)
        throw FrameworkEx("[Overlay::DrawLines] The overlay is not loaded");
    // Capitals a fiftieth of the picture high, no smaller than 9 pixels. A glyph's capitals take
    // 14 of its cell's 32 rows and it sits centred across its cell, so an advance of 0.4 of the
    // cell's side spaces the glyphs as a monospaced font.
    const float side = std::max(9.0f, static_cast<float>(height) / 50.0f) * 32.0f / 14.0f;
    const float advance = side * 0.4f;
    const float margin = side * 0.3f, padding = side * 0.08f;

    std::vector<Rect> places;
    std::vector<Rect> windows;
    std::vector<D3DCOLOR> tints;
    const auto add = [&](const Rect& place, const Rect& window, D3DCOLOR tint) {
        if (places.size() < MaxQuads) {
            places.push_back(place);
            windows.push_back(window);
            tints.push_back(tint);
        }
    };
    float top = margin;
    for (const std::string& line : lines) {
        const float left = margin;
        // The cell's rows above its capitals and below its descenders stay outside the box.
        add({left - padding, top + side * 0.2f, left + advance * static_cast<float>(line.size()) + padding,
             top + side * 0.85f},
            {-1.0f, -1.0f, -1.0f, -1.0f}, BoxColour);
        for (size_t i = 0; i < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line[i]);
            if (byte == ' ')
                continue;
            const int cell = (byte > ' ' && byte < 127 ? byte : '?') - FirstCharacter;
            const float u = static_cast<float>(cell % AtlasColumns) / AtlasColumns;
            const float v = static_cast<float>(cell / AtlasColumns) / AtlasRows;
            const float x = left + advance * static_cast<float>(i) - (side - advance) * 0.5f;
            add({x, top, x + side, top + side}, {u, v, u + 1.0f / AtlasColumns, v + 1.0f / AtlasRows}, TextColour);
        }
        top += side * 0.65f;
    }

    D3DXVECTOR3* positions = nullptr;
    D3DXVECTOR2* texCoords = nullptr;
    D3DCOLOR* colours = nullptr;
    DEVICE_CALL(quads->LockPositions(&positions));
    DEVICE_CALL(quads->LockTexCoords(&texCoords));
    DEVICE_CALL(quads->LockColours(&colours));
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const auto clip = [&](float x, float y) { return D3DXVECTOR3{2.0f * x / w - 1.0f, 1.0f - 2.0f * y / h, 0.0f}; };
    for (size_t q = 0; q < places.size(); ++q) {
        const Rect& p = places[q];
        const Rect& t = windows[q];
        positions[4 * q + 0] = clip(p.left, p.top);
        positions[4 * q + 1] = clip(p.right, p.top);
        positions[4 * q + 2] = clip(p.right, p.bottom);
        positions[4 * q + 3] = clip(p.left, p.bottom);
        texCoords[4 * q + 0] = {t.left, t.top};
        texCoords[4 * q + 1] = {t.right, t.top};
        texCoords[4 * q + 2] = {t.right, t.bottom};
        texCoords[4 * q + 3] = {t.left, t.bottom};
        std::fill_n(colours + 4 * q, 4, tints[q]);
    }
    DEVICE_CALL(quads->UnlockColours());
    DEVICE_CALL(quads->UnlockTexCoords());
    DEVICE_CALL(quads->UnlockPositions());
    quads->activeQuads = static_cast<unsigned>(places.size());

    DXEffectHandler::SetActiveEffect(ModuleName);
    DXEffectHandler::SetTextureBySemantic("GLYPHTEX", glyphs);
    DXEffectHandler::SetTechnique(ModuleName);
    DXEffectHandler::DrawObject(*quads);
}
