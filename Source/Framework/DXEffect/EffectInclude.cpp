#include "Framework/DXEffect/EffectInclude.h"

#include "Framework/FileSys/FileSys.h"

#include <cstring>
#include <string>

HRESULT EffectInclude::Open(D3DXINCLUDE_TYPE, const char* pFileName, const void*, const void** ppData, UINT* pBytes)
{
    if (!pFileName || !ppData || !pBytes)
        return E_FAIL;
    const auto bytes = FileSys::Instance()->ReadAll(std::string("Shaders\\") + pFileName);
    if (!bytes)
        return E_FAIL;
    auto* data = new unsigned char[bytes->size()];
    std::memcpy(data, bytes->data(), bytes->size());
    *ppData = data;
    *pBytes = static_cast<UINT>(bytes->size());
    return S_OK;
}

HRESULT EffectInclude::Close(const void* pData)
{
    delete[] static_cast<const unsigned char*>(pData);
    return S_OK;
}
