#include "Framework/RenderTargetResources/RSHandler/RSHandler.h"

#include "Platform/Gfx/IDirect3DSurface9.h"

RSHandler::RSHandler() : Singleton("RSHandler") {}

RSHandler::~RSHandler()
{
    for (auto& entry : pool)
        if (entry->surface)
            entry->surface->Release();
    pool.clear();
}
