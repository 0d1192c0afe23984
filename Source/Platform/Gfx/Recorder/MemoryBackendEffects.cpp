// The memory backend's effect passes: render states and textures live in the front device; each
// effect gets a driver that leaves its pass snapshots in the Recorder's effect log, if it has one.
#include "Platform/Gfx/Recorder/MemoryBackend.h"

#include "Platform/Gfx/Recorder/Recorder.h"
#include "Platform/Gfx/Recorder/RecorderEffectDriver.h"

HRESULT MemoryBackend::SetRenderState(D3DRENDERSTATETYPE, DWORD)
{
    return D3D_OK;
}

HRESULT MemoryBackend::SetTexture(DWORD, IDirect3DBaseTexture9*)
{
    return D3D_OK;
}

HRESULT MemoryBackend::CreateEffectDriver(const fx::EffectDescription*, fx::EffectDriver** ppDriver, std::string*)
{
    *ppDriver = new RecorderEffectDriver(recorder_->EffectRecord());
    return D3D_OK;
}
