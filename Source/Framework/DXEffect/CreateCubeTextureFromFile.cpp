#include "Framework/DXEffect/CreateCubeTextureFromFile.h"

#include "Framework/DXFramework.h"
#include "Framework/FileSys/FileSys.h"

HRESULT CreateCubeTextureFromFile(const std::string& path, IDirect3DCubeTexture9** cubeTexture)
{
    const auto bytes = FileSys::Instance()->ReadAll(path);
    if (!bytes)
        return D3DERR_INVALIDCALL;
    return D3DXCreateCubeTextureFromFileInMemory(DXFramework::device, bytes->data(), static_cast<UINT>(bytes->size()),
                                                 cubeTexture);
}
