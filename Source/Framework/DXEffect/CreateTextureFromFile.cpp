#include "Framework/DXEffect/CreateTextureFromFile.h"

#include "Framework/DXFramework.h"
#include "Framework/FileSys/FileSys.h"

HRESULT CreateTextureFromFile(const std::string& path, DWORD filter, DWORD mipFilter, IDirect3DTexture9** texture)
{
    const auto bytes = FileSys::Instance()->ReadAll(path);
    if (!bytes)
        return D3DERR_INVALIDCALL;
    return D3DXCreateTextureFromFileInMemoryEx(DXFramework::device, bytes->data(), static_cast<UINT>(bytes->size()),
                                               D3DX_DEFAULT, D3DX_DEFAULT, 0, 0, D3DFMT_FROM_FILE, D3DPOOL_MANAGED,
                                               filter, mipFilter, 0, nullptr, nullptr, texture);
}
