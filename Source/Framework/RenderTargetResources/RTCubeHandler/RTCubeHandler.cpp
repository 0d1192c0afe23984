#include "Framework/RenderTargetResources/RTCubeHandler/RTCubeHandler.h"

#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/ReleaseAndClear.h"
#include "Platform/Gfx/IDirect3DCubeTexture9.h"
#include "Platform/Gfx/IDirect3DDevice9.h"

namespace {

const CallSite Creation{".\\Source\\Framework\\RenderTargetResources\\RTCubeHandler\\RTCubeHandler.cpp", 64};
const CallSite FaceRetrieval{".\\Source\\Framework\\RenderTargetResources\\RTCubeHandler\\RTCubeHandler.h", 42};
const CallSite BindFace{".\\Source\\Framework\\RenderTargetResources\\RTCubeHandler\\RTCubeHandler.h", 59};

} // namespace

RTCubeHandler::RTCubeHandler() : Singleton("RTCubeHandler") {}

RTCubeHandler::~RTCubeHandler()
{
    Clear();
}

uint32_t RTCubeHandler::Acquire(const CubeTargetDesc& desc)
{
    for (uint32_t index = 0; index < pool.size(); ++index) {
        CubeTargetEntry& entry = *pool[index];
        if (entry.useCount == 0 && entry.format == desc.format && entry.edgeLength == desc.edgeLength) {
            entry.useCount = 1;
            return index;
        }
    }
    auto entry = std::make_unique<CubeTargetEntry>();
    entry->format = desc.format;
    entry->edgeLength = desc.edgeLength;
    CreateTexture(*entry);
    entry->useCount = 1;
    pool.push_back(std::move(entry));
    return static_cast<uint32_t>(pool.size() - 1);
}

void RTCubeHandler::CreateTexture(CubeTargetEntry& entry)
{
    IDirect3DCubeTexture9* texture = nullptr;
    CheckDeviceCreation(
        [&] {
            return DXFramework::device->CreateCubeTexture(entry.edgeLength, 1, D3DUSAGE_RENDERTARGET, entry.format,
                                                          D3DPOOL_DEFAULT, &texture, nullptr);
        },
        Creation);
    entry.texture = texture;
    for (uint32_t face = 0; face < 6; ++face)
        CheckDeviceCall(texture->GetCubeMapSurface(static_cast<D3DCUBEMAP_FACES>(face), 0, &entry.faces[face]),
                        FaceRetrieval);
}

CubeTargetEntry& RTCubeHandler::GetTarget(uint32_t index)
{
    if (index >= pool.size())
        throw FrameworkEx("[RTCubeHandler::GetTarget]: No cube target " + std::to_string(index) + " in a pool of " +
                          std::to_string(pool.size()));
    return *pool[index];
}

void RTCubeHandler::Release(uint32_t index)
{
    CubeTargetEntry& entry = GetTarget(index);
    if (entry.useCount > 0)
        --entry.useCount;
}

void RTCubeHandler::BindCubeFace(uint32_t face, const CubeTargetEntry& entry)
{
    CheckDeviceCall(DXFramework::device->SetRenderTarget(0, entry.faces.at(face)), BindFace);
    DXFramework::device->SetDepthStencilSurface(DXFramework::Instance()->depthSurface);
}

void RTCubeHandler::ReleaseDeviceObjects()
{
    // A reset ends every hold as well. The scene that was current when the device was lost still
    // holds its targets; the activation of every scene that follows the reset would find them
    // taken and add new ones, and the old ones would stay held for good, one set a reset.
    for (auto& entry : pool) {
        entry->useCount = 0;
        for (IDirect3DSurface9*& face : entry->faces)
            ReleaseAndClear(face);
        ReleaseAndClear(entry->texture);
    }
}

void RTCubeHandler::RecreateDeviceObjects()
{
    for (auto& entry : pool)
        if (!entry->texture)
            CreateTexture(*entry);
}

void RTCubeHandler::Clear()
{
    ReleaseDeviceObjects();
    pool.clear();
}
