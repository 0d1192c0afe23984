// D3DX's buffer: a block of bytes with a reference count, as effect creation hands back its
// compiler messages (a NUL-terminated text).
#pragma once

#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/Unknown.h"

#include <string_view>
#include <vector>

class ID3DXBuffer : public Unknown {
public:
    void* GetBufferPointer() { return bytes_.data(); }
    DWORD GetBufferSize() const { return static_cast<DWORD>(bytes_.size()); }

private:
    friend HRESULT D3DXCreateBuffer(DWORD NumBytes, ID3DXBuffer** ppBuffer);
    explicit ID3DXBuffer(size_t size) : bytes_(size) {}

    std::vector<unsigned char> bytes_;
};

// A zero-filled buffer of NumBytes bytes with one reference. D3DERR_INVALIDCALL for a null out
// pointer, E_OUTOFMEMORY when the bytes cannot be had.
HRESULT D3DXCreateBuffer(DWORD NumBytes, ID3DXBuffer** ppBuffer);

// A buffer holding text and its terminating NUL, as compiler messages come; null on failure.
ID3DXBuffer* CreateTextBuffer(std::string_view text);

// The text a buffer holds, up to its first NUL or its end; empty for a null buffer.
std::string_view BufferText(ID3DXBuffer* buffer);
