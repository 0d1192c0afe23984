// Owns the registered modules by name; loads and releases them with the device resources.
#pragma once

#include "Framework/FrameworkEx.h"
#include "Framework/ModuleHandler/DXModule.h"
#include "Framework/Singleton.h"

#include <map>
#include <memory>
#include <string>

class ModuleHandler : public Singleton<ModuleHandler> {
public:
    // A module shown while the others load; it loads first.
    static inline const std::string LoaderBarName = "LoaderBar";

    ModuleHandler();
    ~ModuleHandler();

    // Registers the module under its name. A name already taken keeps its module; the refused
    // one is destroyed.
    void AddModule(std::unique_ptr<DXModule> module);

    // The module of that name; raises FrameworkEx when none is registered.
    DXModule& GetModule(const std::string& name) const;
    // The same as the class a caller drives it through; FrameworkEx when it is of another class.
    template <class T>
    T& GetModuleAs(const std::string& name) const
    {
        if (T* typed = dynamic_cast<T*>(&GetModule(name)))
            return *typed;
        throw FrameworkEx("[ModuleHandler::GetModule] Module \"" + name + "\" is not of the class its user expects");
    }

    void LoadAll();
    void ReleaseAll();

    const std::map<std::string, std::unique_ptr<DXModule>>& Modules() const { return modules; }

private:
    std::map<std::string, std::unique_ptr<DXModule>> modules;
};
