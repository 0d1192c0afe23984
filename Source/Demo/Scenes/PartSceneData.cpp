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

const std::array<std::array<float, 3>, 6> Greys = {
    {{1, 1, 1}, {0.9f, 0.9f, 0.9f}, {0.8f, 0.8f, 0.8f}, {0.6f, 0.6f, 0.6f}, {0.5f, 0.5f, 0.5f}, {0.4f, 0.4f, 0.4f}}};
const std::array<std::array<float, 3>, 6> Warm = {
    {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.6f, 0, 0}, {0.7f, 0.6f, 0}, {0.4f, 1, 0.4f}}};

} // namespace

const std::vector<PartSceneData>& PartScenes()
{
    using Overlay = PartSceneData::Overlay;
    static const std::vector<PartSceneData> scenes = {
        {"TindreVikIntro", "Tindrevik_IntroScene.xml", Emitters("0"), false, Overlay::BeforeFade, Colours(Greys), true},
        {"TindrevikPart1", "Tindrevik_scene1.xml", Emitters("1"), true, Overlay::None, Colours(Warm)},
        {"TindrevikPart2", "Tindrevik_scene2.xml", Emitters("2"), true, Overlay::None,
         Colours({{{0.3f, 0.3f, 1}, {0.3f, 1, 0}, {0.1f, 1, 0}, {0.15f, 0.15f, 0.8f}, {0.15f, 0.8f, 0}, {0, 0.5f, 0}}})},
        {"TindrevikPart3", "Tindrevik_scene3.xml", Emitters("3"), true, Overlay::None,
         Colours({{{1, 0, 1}, {1, 0, 0.7f}, {1, 1, 0}, {0.8f, 0, 0.8f}, {0.8f, 0, 0.6f}, {0.5f, 0.5f, 0}}})},
        {"TindrevikPart4", "Tindrevik_scene4.xml", Emitters("4"), true, Overlay::None, Colours(Warm)},
        {"TindrevikPart5", "Tindrevik_scene5.xml", Emitters("5"), true, Overlay::None,
         Colours({{{0.6f, 1, 0}, {0, 1, 0.7f}, {1, 1, 0}, {0.6f, 0.7f, 0}, {0, 0.8f, 0.1f}, {0.7f, 0.7f, 0}}})},
        {"TindrevikEnd", "Tindrevik_EndScene.xml", Emitters("666"), false, Overlay::Last, Colours(Greys)},
    };
    return scenes;
}
