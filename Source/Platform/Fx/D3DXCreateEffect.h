// D3DX's effect creation from bytes in memory: the compiled form that fxc writes (CompiledEffect.h)
// or, as D3DX also accepts, effect source text, whose #include directives are read through the
// include callback.
#pragma once

#include "Platform/Fx/D3DXEffectTypes.h"
#include "Platform/Fx/ID3DXBuffer.h"
#include "Platform/Fx/ID3DXEffect.h"
#include "Platform/Fx/ID3DXEffectPool.h"
#include "Platform/Fx/ID3DXInclude.h"

// On success *ppEffect holds the new effect with one reference. ppCompilationErrors, when given,
// receives a new buffer with the messages of a failure ("file:line: what was expected", one per
// line), or null when there are none; it does not release what it held.
//
// Results: D3DERR_INVALIDCALL for a missing device, data or out pointer, or for macro definitions
// (the language has none: only an empty list is taken); D3DXERR_INVALIDDATA for compiled bytes
// that are not a valid compiled effect; E_FAIL for source that does not parse, an include that
// cannot be read, a shared parameter whose type differs from the pool's, or an effect the
// device's driver refuses (its GLSL, for example).
HRESULT D3DXCreateEffect(IDirect3DDevice9* pDevice, const void* pSrcData, UINT SrcDataLen, const D3DXMACRO* pDefines,
                         ID3DXInclude* pInclude, DWORD Flags, ID3DXEffectPool* pPool, ID3DXEffect** ppEffect,
                         ID3DXBuffer** ppCompilationErrors);
