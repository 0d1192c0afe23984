#include "Platform/Fx/ID3DXBuffer.h"

#include <cstring>
#include <new>

HRESULT D3DXCreateBuffer(DWORD NumBytes, ID3DXBuffer** ppBuffer)
{
    if (!ppBuffer)
        return D3DERR_INVALIDCALL;
    try {
        *ppBuffer = new ID3DXBuffer(NumBytes);
    } catch (const std::bad_alloc&) {
        *ppBuffer = nullptr;
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

ID3DXBuffer* CreateTextBuffer(std::string_view text)
{
    ID3DXBuffer* buffer = nullptr;
    if (FAILED(D3DXCreateBuffer(static_cast<DWORD>(text.size() + 1), &buffer)))
        return nullptr;
    std::memcpy(buffer->GetBufferPointer(), text.data(), text.size());
    return buffer;
}

std::string_view BufferText(ID3DXBuffer* buffer)
{
    if (!buffer)
        return {};
    const auto* bytes = static_cast<const char*>(buffer->GetBufferPointer());
    const void* end = std::memchr(bytes, 0, buffer->GetBufferSize());
    return std::string_view(bytes, end ? static_cast<const char*>(end) - bytes : buffer->GetBufferSize());
}
