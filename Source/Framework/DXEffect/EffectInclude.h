// The include callback of every effect creation: an effect's #include "F" reads the archive entry
// "Shaders\F", where the effects' uncompiled sources and includes sit.
#pragma once

#include "Platform/Fx/ID3DXInclude.h"

class EffectInclude final : public ID3DXInclude {
public:
    // E_FAIL when the archive has no such entry, or an empty one.
    HRESULT Open(D3DXINCLUDE_TYPE IncludeType, const char* pFileName, const void* pParentData, const void** ppData,
                 UINT* pBytes) override;
    // Frees what Open handed out.
    HRESULT Close(const void* pData) override;
};
