#include "Framework/SceneHandler/Scene.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Timer/Timer.h"

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
    LightsByName newLights;
    for (const SceneLight& record : file.lights)
        newLights[record.name] = MakeLight(record);
    if (sceneFileReloads.contains(fileName))
        CheckReloadedLights(newLights);

    cameraSet = std::move(cameras);
    lights = std::move(newLights);
    sceneFileReloads[fileName] = ReloadHub::WatchIfLive({"Data\\" + fileName}, [this, fileName] {
        try {
            LoadSceneData(fileName);
        } catch (FrameworkEx& e) {
            // The parser's message has no line; the maker needs one.
            const auto contents = FileSys::Instance()->ReadAll("Data\\" + fileName);
            if (const unsigned line = contents ? SceneFileErrorLine(std::string(contents->begin(), contents->end())) : 0)
                e.message += " (line " + std::to_string(line) + ")";
            throw;
        }
        // Lights may lead emitters: what the simulation did with them is no longer known to hold.
        ReloadHub::Instance()->ReportSimulationChangeFrom(0.0);
    });
}

void Scene::SetFrameConstants()
{
    Camera* const before = cameraSet.GetActiveCamera();
    if (!before)
        throw FrameworkEx("[Scene::SetFrameConstants] Scene \"" + name + "\" has no camera");
    DXEffect& global = *DXFramework::Instance()->sharedEffect;
    const float time = static_cast<float>(Timer::GetElapsed());

    // Read before the update: the previous view-projection and the focus of the camera that was
    // active, so that a camera switch blurs and focuses with the old camera for one more frame.
    global.SetMatrixBySemantic("OLDVIEWPROJ", &before->previousViewProjection);
    const float focus[2] = {0.5f * (before->lens.nearFocus + before->lens.farFocus),
                            2.0f * (before->lens.farFocus - before->lens.nearFocus)};
    global.SetFloatBySemantic("TIME", time);

    cameraSet.update(time);
    const Camera& after = *cameraSet.GetActiveCamera();
    global.SetMatrixBySemantic("VIEW", &after.view);
    global.SetMatrixBySemantic("VIEWPROJ", &after.viewProjection);
    const float eye[3] = {after.position.x, after.position.y, after.position.z};
    global.SetVec3BySemantic("EYEPOS", eye);
    global.SetVec2BySemantic("FOCUS_MAXZ", focus);
    // Objects drawn this frame combine all their matrices with the camera active at draw time,
    // its previous view-projection included: on a cut, the new camera's own motion, not a streak
    // from the old camera's view to the new one.
    DXEffectHandler::SetCamera({after.view, after.viewProjection, after.previousViewProjection});

    UpdateLights(time);
}

void Scene::UpdateLights(float time)
{
    for (const auto& [lightName, light] : lights)
        light->update(time);
}

void Scene::AddRenderTarget(const std::string& targetName, D3DFORMAT format, uint32_t width, uint32_t height)
{
    renderTargets[targetName] = RTHandler::Acquire({format, width, height});
}

void Scene::AddCubeTarget(const std::string& targetName, uint32_t edgeLength)
{
    cubeTargets[targetName] = RTCubeHandler::Acquire({D3DFMT_X8R8G8B8, edgeLength});
}

RenderTargetEntry& Scene::GetRenderTarget(const std::string& targetName) const
{
    const auto found = renderTargets.find(targetName);
    if (found == renderTargets.end())
        throw FrameworkEx("[Scene::GetRenderTarget] Scene \"" + name + "\" has no render target \"" + targetName + "\"");
    return RTHandler::GetTarget(found->second);
}

CubeTargetEntry& Scene::GetCubeTarget(const std::string& targetName) const
{
    const auto found = cubeTargets.find(targetName);
    if (found == cubeTargets.end())
        throw FrameworkEx("[Scene::GetCubeTarget] Scene \"" + name + "\" has no cube target \"" + targetName + "\"");
    return RTCubeHandler::GetTarget(found->second);
}

void Scene::ReleaseTargets()
{
    for (const auto& [targetName, index] : renderTargets)
        RTHandler::Release(index);
    for (const auto& [targetName, index] : cubeTargets)
        RTCubeHandler::Release(index);
}
