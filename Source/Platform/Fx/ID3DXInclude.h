// D3DX's include callback: effect creation asks it for the bytes of every file an #include names
// and gives them back with Close once read.
#pragma once

#include "Platform/Fx/D3DXEffectTypes.h"

class ID3DXInclude {
public:
    // On success *ppData and *pBytes describe the file's bytes, which stay valid until Close.
    virtual HRESULT Open(D3DXINCLUDE_TYPE IncludeType, const char* pFileName, const void* pParentData,
                         const void** ppData, UINT* pBytes) = 0;
    virtual HRESULT Close(const void* pData) = 0;

protected:
    ~ID3DXInclude() = default;
};
