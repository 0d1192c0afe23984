#include "Demo/ShowAssembly.h"

#include "Framework/DXFramework.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Modules/EasiestFilterEver/EasiestFilterEver.h"
#include "Modules/PostEffects/PostEffects.h"

void AssembleShow(DXFramework&)
{
    ModuleHandler& modules = *ModuleHandler::Instance();
    modules.AddModule(std::make_unique<PostEffects>("PostFX"));
    // The nine scenes of the timeline are registered here, in the timeline's order, as they are
    // built. The scroller scene registers its own screen filter first, so this one is refused then.
    modules.AddModule(std::make_unique<EasiestFilterEver>("EasiestFilterEver"));
}
