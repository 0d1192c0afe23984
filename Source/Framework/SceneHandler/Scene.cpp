#include "Framework/SceneHandler/Scene.h"

#include "Framework/Scene/PointLight.h"
#include "Framework/Scene/SceneFile.h"
#include "Framework/Scene/SpotLight.h"

namespace {

std::unique_ptr<Light> MakeLight(const SceneLight& light)
{
    if (light.kind == SceneLight::Kind::Spot)
        return std::make_unique<SpotLight>(light.name, light.colour, light.position, light.radius, light.castShadows,
                                           light.coneAngle, light.penumbraAngle, light.rotation);
    return std::make_unique<PointLight>(light.name, light.colour, light.position, light.castShadows);
}

} // namespace

void Scene::LoadSceneData(const std::string& fileName)
{
    const SceneFile file = ReadSceneFile(fileName);

    // Everything is built before anything is replaced, so a failure leaves the scene as it was.
    CameraSet cameras;
    for (const SceneCamera& record : file.cameras) {
        auto camera = std::make_unique<Camera>(record.name);
        camera->SetLens(record.lens);
        cameras.Add(std::move(camera));
    }
    std::map<std::string, std::unique_ptr<Light>> newLights;
    for (const SceneLight& record : file.lights)
        newLights[record.name] = MakeLight(record);

    cameraSet = std::move(cameras);
    lights = std::move(newLights);
}
