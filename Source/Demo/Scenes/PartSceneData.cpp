#include "Demo/Scenes/PartSceneData.h"

namespace {

ParticleColours Colours(const std::array<std::array<float, 3>, 6>& rgb)
{
    ParticleColours colours;
    for (size_t i = 0; i < rgb.size(); ++i)
        colours[i] = {rgb[i][0], rgb[i][1], rgb[i][2], 0.0f};
    return colours;
}

std::array<std::string, 3> Emitters(const std::string& suffix)
{
    return {"emitter1_" + suffix, "emitter2_" + suffix, "emitter3_" + suffix};
}

// Each part has colours of its own, a few neighbouring hues and their lighter and deeper shades.
// The intro and the end are moonlit greys, dim enough that their trails never build up to white
// behind the cards.
using Palette = std::array<std::array<float, 3>, 6>;
const Palette Moonlight = {
    {{0.32f, 0.35f, 0.42f}, {0.27f, 0.3f, 0.37f}, {0.23f, 0.25f, 0.31f}, {0.19f, 0.21f, 0.27f}, {0.16f, 0.17f, 0.23f},
     {0.13f, 0.14f, 0.2f}}};
const Palette Coral = {
    {{1, 0.5f, 0.35f}, {1, 0.72f, 0.45f}, {0.95f, 0.38f, 0.3f}, {0.75f, 0.28f, 0.25f}, {1, 0.85f, 0.65f}, {0.6f, 0.22f, 0.3f}}};
const Palette Ocean = {
    {{0.2f, 0.6f, 1}, {0.1f, 0.85f, 0.9f}, {0.35f, 0.45f, 1}, {0.1f, 0.4f, 0.75f}, {0.6f, 0.9f, 1}, {0.05f, 0.6f, 0.6f}}};
const Palette Violet = {
    {{0.8f, 0.3f, 1}, {1, 0.35f, 0.7f}, {0.55f, 0.25f, 0.95f}, {0.95f, 0.6f, 0.9f}, {0.4f, 0.15f, 0.65f}, {1, 0.5f, 0.55f}}};
const Palette Jade = {
    {{0.2f, 0.95f, 0.6f}, {0.55f, 1, 0.75f}, {1, 0.8f, 0.35f}, {0.1f, 0.6f, 0.45f}, {0.85f, 0.95f, 0.5f}, {0.15f, 0.75f, 0.7f}}};
const Palette Gold = {
    {{1, 0.78f, 0.3f}, {1, 0.86f, 0.5f}, {1, 0.6f, 0.15f}, {0.85f, 0.55f, 0.2f}, {1, 0.95f, 0.7f}, {0.9f, 0.42f, 0.08f}}};

} // namespace

const std::vector<PartSceneData>& PartScenes()
{
    using Overlay = PartSceneData::Overlay;
    static const std::vector<PartSceneData> scenes = {
        {"TindreVikIntro", "Tindrevik_IntroScene.xml", Emitters("0"), false, Overlay::BeforeFade, Colours(Moonlight), true},
        {"TindrevikPart1", "Tindrevik_scene1.xml", Emitters("1"), true, Overlay::None, Colours(Coral)},
        {"TindrevikPart2", "Tindrevik_scene2.xml", Emitters("2"), true, Overlay::None, Colours(Ocean)},
        {"TindrevikPart3", "Tindrevik_scene3.xml", Emitters("3"), true, Overlay::None, Colours(Violet)},
        {"TindrevikPart4", "Tindrevik_scene4.xml", Emitters("4"), true, Overlay::None, Colours(Jade)},
        {"TindrevikPart5", "Tindrevik_scene5.xml", Emitters("5"), true, Overlay::None, Colours(Gold)},
        {"TindrevikEnd", "Tindrevik_EndScene.xml", Emitters("666"), false, Overlay::Last, Colours(Moonlight)},
    };
    return scenes;
}
