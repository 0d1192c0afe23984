#include "Framework/ModuleHandler/DXModule.h"

#include "Framework/FrameworkEx.h"

void DXModule::Draw()
{
    throw FrameworkEx("[virtual void DXModule::Draw()] Draw method not implemented");
}
