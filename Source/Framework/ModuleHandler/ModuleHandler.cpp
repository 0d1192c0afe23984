#include "Framework/ModuleHandler/ModuleHandler.h"

#include "Framework/FrameworkEx.h"

ModuleHandler::ModuleHandler() : Singleton("ModuleHandler") {}

ModuleHandler::~ModuleHandler()
{
    for (auto& entry : modules)
        entry.second.reset();
    modules.clear();
}

void ModuleHandler::AddModule(std::unique_ptr<DXModule> module)
{
    const std::string name = module->GetName();
    modules.try_emplace(name, std::move(module));
}

DXModule& ModuleHandler::GetModule(const std::string& name) const
{
    auto found = modules.find(name);
    if (found == modules.end())
        throw FrameworkEx("[ModuleHandler::GetModule]: No module named \"" + name + "\" is registered");
    return *found->second;
}

void ModuleHandler::LoadAll()
{
    auto loaderBar = modules.find(LoaderBarName);
    if (loaderBar != modules.end())
        loaderBar->second->Load();
    for (auto& [name, module] : modules)
        if (name != LoaderBarName)
            module->Load();
}

void ModuleHandler::ReleaseAll()
{
    for (auto& [name, module] : modules)
        module->Release();
}
