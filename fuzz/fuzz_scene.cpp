// The scene file reader: whatever the text, it either refuses it with a message of its own form
// or gives records a scene can build from (named lights, lenses a projection can be made of,
// finite numbers everywhere), and the same text always gives the same records.
#include "Framework/FrameworkEx.h"
#include "Framework/Scene/SceneFile.h"
#include "FuzzCheck.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

// Scene files are a few kilobytes. The parser's cost is linear, so 64 KiB keeps runs quick while
// leaving room for nesting far deeper than the reader accepts.
constexpr size_t MaxInput = 64 * 1024;

bool Finite(const D3DXVECTOR3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool Same(const SceneFile& a, const SceneFile& b)
{
    if (a.cameras.size() != b.cameras.size() || a.lights.size() != b.lights.size())
        return false;
    for (size_t i = 0; i < a.cameras.size(); ++i)
        if (a.cameras[i].name != b.cameras[i].name ||
            std::memcmp(&a.cameras[i].lens, &b.cameras[i].lens, sizeof(CameraLens)) != 0)
            return false;
    for (size_t i = 0; i < a.lights.size(); ++i) {
        const SceneLight &x = a.lights[i], &y = b.lights[i];
        if (x.name != y.name || x.kind != y.kind || x.castShadows != y.castShadows ||
            std::memcmp(&x.colour, &y.colour, sizeof x.colour) != 0 ||
            std::memcmp(&x.position, &y.position, sizeof x.position) != 0 ||
            std::memcmp(&x.rotation, &y.rotation, sizeof x.rotation) != 0 || x.radius != y.radius ||
            x.coneAngle != y.coneAngle || x.penumbraAngle != y.penumbraAngle)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    SceneFile file;
    try {
        file = ParseSceneFile(text, "fuzz.xml");
    } catch (const FrameworkEx& e) {
        FuzzCheck(e.message.rfind("[Scene::LoadSceneData (fuzz.xml)] ", 0) == 0, "a refusal names the file");
        return 0;
    }

    for (const SceneCamera& camera : file.cameras) {
        const CameraLens& lens = camera.lens;
        FuzzCheck(lens.fieldOfView > 0.0f && lens.fieldOfView < 3.1415927f, "the field of view is a real angle");
        FuzzCheck(lens.aspect > 0.0f && std::isfinite(lens.aspect), "the aspect is positive");
        FuzzCheck(lens.nearZ > 0.0f && lens.farZ > lens.nearZ && std::isfinite(lens.farZ), "0 < near < far");
        FuzzCheck(std::isfinite(lens.nearFocus) && std::isfinite(lens.farFocus), "focus distances are finite");
    }
    for (const SceneLight& light : file.lights) {
        FuzzCheck(light.kind == SceneLight::Kind::Point || light.kind == SceneLight::Kind::Spot, "a known kind");
        FuzzCheck(Finite(light.position) && Finite(light.rotation), "vectors are finite");
        FuzzCheck(std::isfinite(light.colour.x) && std::isfinite(light.colour.y) && std::isfinite(light.colour.z) &&
                      std::isfinite(light.colour.w),
                  "colours are finite");
        FuzzCheck(std::isfinite(light.radius) && std::isfinite(light.coneAngle) && std::isfinite(light.penumbraAngle),
                  "spot numbers are finite");
    }
    FuzzCheck(Same(file, ParseSceneFile(text, "fuzz.xml")), "the same text gives the same records");
    return 0;
}
