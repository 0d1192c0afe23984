// The engine's effect registry on a benchmark's device, set up as the framework sets it up but
// without a DXFramework, whose window and services a benchmark does not need: the device where
// the engine finds it (DXFramework::device), an effect pool, and one effect registered from the
// archive entry "OShaders\<fileName>o" and made active with its technique.
#pragma once

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Platform/Gfx/Direct3D9.h"

#include <string>
#include <vector>

class BenchEffectEngine {
public:
    // compiled is the effect's compiled form; the archive holding it is mounted only while the
    // effect loads. Throws FrameworkEx as DXEffect::LoadEffect does.
    BenchEffectEngine(IDirect3DDevice9& device, const std::string& fileName, const std::vector<unsigned char>& compiled,
                      const std::string& technique);
    ~BenchEffectEngine();
    BenchEffectEngine(const BenchEffectEngine&) = delete;
    BenchEffectEngine& operator=(const BenchEffectEngine&) = delete;

    DXEffect& Active() const { return *DXEffectHandler::GetActiveEffect(); }

private:
    ID3DXEffectPool* pool = nullptr;
    DXEffectHandler handler;
};
