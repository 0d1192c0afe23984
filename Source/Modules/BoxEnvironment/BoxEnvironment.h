// The box around the box scene's particle swarm: a list of render objects loaded, updated and
// drawn together (in the show, the one mesh "boxShape.x").
#pragma once

#include "Framework/ModuleHandler/DXModule.h"
#include "Framework/RenderClasses/BASERENDEROBJECT.h"

#include <memory>
#include <vector>

class BoxEnvironment : public DXModule {
public:
    static inline const std::string BoxMesh = "boxShape.x";

    explicit BoxEnvironment(std::string name) : DXModule(std::move(name)) {}

    void Load() override;
    void Release() override;
    void Update() override;
    // Every object with the active effect and technique; nothing before Load or after Release.
    void Draw() override;

    std::vector<std::unique_ptr<BASERENDEROBJECT>> objects;
};
