#include "BenchEffectEngine.h"

#include "BenchArchive.h"

#include "Framework/DXFramework.h"
#include "Framework/FileSys/ArchiveWriter.h"

#include <stdexcept>

namespace {

const std::string EffectName = "Bench";

} // namespace

BenchEffectEngine::BenchEffectEngine(IDirect3DDevice9& device, const std::string& fileName,
                                     const std::vector<unsigned char>& compiled, const std::string& technique)
{
    if (FAILED(D3DXCreateEffectPool(&pool)))
        throw std::runtime_error("D3DXCreateEffectPool failed");
    DXFramework::device = &device;
    try {
        ArchiveWriter writer;
        writer.Add("OShaders\\" + fileName + "o", compiled);
        const MountedArchive archive(writer.Build());
        handler.AddEffect(EffectName, fileName, pool);
        DXEffectHandler::SetActiveEffect(EffectName);
        DXEffectHandler::SetTechnique(technique);
    } catch (...) {
        DXFramework::device = nullptr;
        pool->Release();
        throw;
    }
}

BenchEffectEngine::~BenchEffectEngine()
{
    handler.DestroyEffect(EffectName);
    pool->Release();
    DXFramework::device = nullptr;
}
