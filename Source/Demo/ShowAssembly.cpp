#include "Demo/ShowAssembly.h"

#include "Framework/DXFramework.h"

void AssembleShow(DXFramework&)
{
    // The post-processing module "PostFX", the nine scenes of the timeline and the screen filter
    // "EasiestFilterEver" are registered here, in that order, as they are built.
}
