// Base of every effect module: a named, reusable effect that several scenes share.
#pragma once

#include <string>

class DXModule {
public:
    explicit DXModule(std::string name) : name(std::move(name)) {}
    virtual ~DXModule() = default;

    // Called every time the device resources are created, so a module loads again after Release.
    virtual void Load() {}
    virtual void Release() {}
    virtual void Update() {}
    // Modules driven only through their own operations do not draw; drawing one is an error.
    virtual void Draw();

    const std::string& GetName() const { return name; }

private:
    std::string name;
};
