#include "Demo/ShowAssembly.h"

#include "Demo/Scenes/BoxScene.h"
#include "Demo/Scenes/PartScene.h"
#include "Demo/Scenes/ScrollerScene.h"
#include "Framework/DXFramework.h"
#include "Framework/EntryPoint.h"
#include "Framework/FrameworkEx.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/EasiestFilterEver/EasiestFilterEver.h"
#include "Modules/PostEffects/PostEffects.h"

#include <algorithm>

namespace {

void AddPartScene(const std::string& name)
{
    const std::vector<PartSceneData>& parts = PartScenes();
    const auto part = std::find_if(parts.begin(), parts.end(), [&](const PartSceneData& data) { return data.name == name; });
    if (part == parts.end())
        throw FrameworkEx("[AssembleShow]: no part scene is named \"" + name + "\"");
    SceneHandler::Instance()->AddScene(std::make_unique<PartScene>(*part));
}

} // namespace

void AssembleShow(DXFramework&)
{
    ModuleHandler& modules = *ModuleHandler::Instance();
    modules.AddModule(std::make_unique<PostEffects>("PostFX"));
    // The scenes in the timeline's order; the intro's constructor registers the particle field.
    AddPartScene("TindreVikIntro");
    AddPartScene("TindrevikPart1");
    AddPartScene("TindrevikPart2");
    AddPartScene("TindrevikPart3");
    SceneHandler::Instance()->AddScene(std::make_unique<ScrollerScene>());
    SceneHandler::Instance()->AddScene(std::make_unique<BoxScene>());
    AddPartScene("TindrevikPart4");
    AddPartScene("TindrevikPart5");
    AddPartScene("TindrevikEnd");
    // The scroller scene registered its own screen filter already: the registry keeps that one.
    modules.AddModule(std::make_unique<EasiestFilterEver>("EasiestFilterEver"));
}

std::unique_ptr<DXFramework> OpenShow(const std::string& commandLine, Direct3DCreator createDirect3D)
{
    auto framework = std::make_unique<DXFramework>(nullptr, commandLine, ShowTitle, std::move(createDirect3D));
    framework->musicEnabled = false;
    framework->settings.multiSampleType = 0;
    AssembleShow(*framework);
    framework->CreateMainWindow();
    framework->CreateDevice();
    framework->CreateDeviceResources();
    return framework;
}
