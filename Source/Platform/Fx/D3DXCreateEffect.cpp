#include "Platform/Fx/D3DXCreateEffect.h"

#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectError.h"
#include "Platform/Fx/EffectParser.h"

#include <optional>
#include <span>
#include <string>

namespace {

// Effect text handed over in memory has no file name; D3DX calls it "memory" too.
const std::string MemoryName = "memory";

// The include callback as the parser wants it: the file's text, or nothing when it cannot be read.
fx::IncludeCallback IncludeThrough(ID3DXInclude* include)
{
    return [include](const std::string& fileName) -> std::optional<std::string> {
        if (!include)
            return std::nullopt;
        const void* data = nullptr;
        UINT bytes = 0;
        if (FAILED(include->Open(D3DXINC_LOCAL, fileName.c_str(), nullptr, &data, &bytes)))
            return std::nullopt;
        std::string text(static_cast<const char*>(data), bytes);
        include->Close(data);
        return text;
    };
}

HRESULT Fail(HRESULT code, const std::string& messages, ID3DXBuffer** ppCompilationErrors)
{
    if (ppCompilationErrors)
        *ppCompilationErrors = messages.empty() ? nullptr : CreateTextBuffer(messages);
    return code;
}

} // namespace

HRESULT D3DXCreateEffect(IDirect3DDevice9* pDevice, const void* pSrcData, UINT SrcDataLen, const D3DXMACRO* pDefines,
                         ID3DXInclude* pInclude, DWORD, ID3DXEffectPool* pPool, ID3DXEffect** ppEffect,
                         ID3DXBuffer** ppCompilationErrors)
{
    if (ppCompilationErrors)
        *ppCompilationErrors = nullptr;
    if (!pDevice || !pSrcData || !ppEffect)
        return D3DERR_INVALIDCALL;
    *ppEffect = nullptr;
    if (pDefines && pDefines->Name)
        return Fail(D3DERR_INVALIDCALL, "effect macros are not supported: the effect language has none\n",
                    ppCompilationErrors);

    const std::span<const unsigned char> bytes(static_cast<const unsigned char*>(pSrcData), SrcDataLen);
    fx::EffectDescription description;
    try {
        if (fx::IsCompiledEffect(bytes)) {
            description = fx::LoadCompiledEffect("compiled effect", bytes);
        } else {
            const std::string_view text(static_cast<const char*>(pSrcData), SrcDataLen);
            description = fx::ParseEffect(MemoryName, text, IncludeThrough(pInclude));
        }
    } catch (const fx::EffectError& error) {
        return Fail(fx::IsCompiledEffect(bytes) ? D3DXERR_INVALIDDATA : E_FAIL, error.Message() + "\n",
                    ppCompilationErrors);
    }

    std::string messages;
    *ppEffect = ID3DXEffect::Create(*pDevice, std::move(description), pPool, messages);
    if (!*ppEffect)
        return Fail(E_FAIL, messages, ppCompilationErrors);
    return D3D_OK;
}
