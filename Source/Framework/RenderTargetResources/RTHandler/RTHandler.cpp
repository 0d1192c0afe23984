#include "Framework/RenderTargetResources/RTHandler/RTHandler.h"

#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/ReleaseAndClear.h"
#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/IDirect3DTexture9.h"

namespace {

const CallSite Creation{".\\Source\\Framework\\RenderTargetResources\\RTHandler\\RTHandler.cpp", 59};
const CallSite BindSurface{".\\Source\\Framework\\RenderTargetResources\\RTHandler\\RTHandler.h", 96};
const CallSite BindDepth{".\\Source\\Framework\\RenderTargetResources\\RTHandler\\RTHandler.h", 97};

} // namespace

RTHandler::RTHandler() : Singleton("RTHandler") {}

RTHandler::~RTHandler()
{
    Clear();
}

uint32_t RTHandler::Acquire(const RenderTargetDesc& desc)
{
    for (uint32_t index = 0; index < pool.size(); ++index) {
        RenderTargetEntry& entry = *pool[index];
        if (entry.useCount == 0 && entry.format == desc.format && entry.width == desc.width &&
            entry.height == desc.height) {
            entry.useCount = 1;
            return index;
        }
    }
    auto entry = std::make_unique<RenderTargetEntry>();
    entry->format = desc.format;
    entry->width = desc.width;
    entry->height = desc.height;
    CreateTexture(*entry);
    entry->useCount = 1;
    pool.push_back(std::move(entry));
    return static_cast<uint32_t>(pool.size() - 1);
}

void RTHandler::CreateTexture(RenderTargetEntry& entry)
{
    IDirect3DTexture9* texture = nullptr;
    CheckDeviceCreation(
        [&] {
            return DXFramework::device->CreateTexture(entry.width, entry.height, 1, D3DUSAGE_RENDERTARGET, entry.format,
                                                      D3DPOOL_DEFAULT, &texture, nullptr);
        },
        Creation);
    entry.texture = texture;
    DEVICE_CALL(texture->GetSurfaceLevel(0, &entry.surface));
}

RenderTargetEntry& RTHandler::GetTarget(uint32_t index)
{
    if (index >= pool.size())
        throw FrameworkEx("[RTHandler::GetTarget]: No render target " + std::to_string(index) + " in a pool of " +
                          std::to_string(pool.size()));
    return *pool[index];
}

void RTHandler::Release(uint32_t index)
{
    RenderTargetEntry& entry = GetTarget(index);
    if (entry.useCount > 0)
        --entry.useCount;
}

void RTHandler::BindTarget(uint32_t slot, const RenderTargetEntry& entry)
{
    CheckDeviceCall(DXFramework::device->SetRenderTarget(slot, entry.surface), BindSurface);
    CheckDeviceCall(DXFramework::device->SetDepthStencilSurface(DXFramework::Instance()->depthSurface), BindDepth);
}

void RTHandler::ReleaseDeviceObjects()
{
    // A reset ends every hold as well. The scene that was current when the device was lost still
    // holds its targets; the activation of every scene that follows the reset would find them
    // taken and add new ones, and the old ones would stay held for good, one set a reset.
    for (auto& entry : pool) {
        entry->useCount = 0;
        ReleaseAndClear(entry->surface);
        ReleaseAndClear(entry->texture);
    }
}

void RTHandler::RecreateDeviceObjects()
{
    for (auto& entry : pool)
        if (!entry->texture)
            CreateTexture(*entry);
}

void RTHandler::Clear()
{
    ReleaseDeviceObjects();
    pool.clear();
}
