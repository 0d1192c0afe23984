// The GL backend's vertex and index buffers: a GL buffer object each, with the copy that locks
// hand out; an unlock uploads what was locked.
#include "Platform/Gfx/GL/GLBackend.h"

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLResources.h"

namespace {

HRESULT CreateBuffer(GLContextToken context, UINT length, DWORD usage, BackendSlot& slot)
{
    while (glGetError() != GL_NO_ERROR) {
    }
    auto data = std::make_unique<GLBufferData>(std::move(context), length);
    glBindBuffer(GL_COPY_WRITE_BUFFER, data->name);
    glBufferData(GL_COPY_WRITE_BUFFER, length, nullptr, (usage & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
    if (glGetError() == GL_OUT_OF_MEMORY) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    slot.Attach(std::move(data));
    return D3D_OK;
}

void Lock(GLBufferData& buffer, UINT offset, UINT size, DWORD flags, void** bytes)
{
    buffer.lockOffset = offset;
    buffer.lockSize = size == 0 ? static_cast<UINT>(buffer.bytes.size()) - offset : size;
    buffer.lockFlags = flags;
    *bytes = buffer.bytes.data() + offset;
}

void Unlock(GLBufferData& buffer, DWORD usage)
{
    if (buffer.lockFlags & D3DLOCK_READONLY) {
        return;
    }
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer.name);
    if ((buffer.lockFlags & D3DLOCK_DISCARD) && buffer.lockOffset == 0) {
        // A fresh store, so that the upload does not wait for draws still reading the old one.
        glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(buffer.bytes.size()), buffer.bytes.data(),
                     (usage & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
        return;
    }
    glBufferSubData(GL_COPY_WRITE_BUFFER, buffer.lockOffset, buffer.lockSize, buffer.bytes.data() + buffer.lockOffset);
}

} // namespace

HRESULT GLBackend::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD, D3DPOOL, IDirect3DVertexBuffer9** ppVertexBuffer,
                                      HANDLE*)
{
    return CreateBuffer(Data().Token(), Length, Usage, (*ppVertexBuffer)->Backend());
}

HRESULT GLBackend::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9** ppIndexBuffer,
                                     HANDLE*)
{
    return CreateBuffer(Data().Token(), Length, Usage, (*ppIndexBuffer)->Backend());
}

HRESULT GLBackend::LockVertexBuffer(IDirect3DVertexBuffer9* pVertexBuffer, UINT OffsetToLock, UINT SizeToLock,
                                    void** ppbData, DWORD Flags)
{
    Lock(pVertexBuffer->Backend().As<GLBufferData>(), OffsetToLock, SizeToLock, Flags, ppbData);
    return D3D_OK;
}

HRESULT GLBackend::UnlockVertexBuffer(IDirect3DVertexBuffer9* pVertexBuffer)
{
    Unlock(pVertexBuffer->Backend().As<GLBufferData>(), pVertexBuffer->Desc().Usage);
    return D3D_OK;
}

HRESULT GLBackend::LockIndexBuffer(IDirect3DIndexBuffer9* pIndexBuffer, UINT OffsetToLock, UINT SizeToLock,
                                   void** ppbData, DWORD Flags)
{
    Lock(pIndexBuffer->Backend().As<GLBufferData>(), OffsetToLock, SizeToLock, Flags, ppbData);
    return D3D_OK;
}

HRESULT GLBackend::UnlockIndexBuffer(IDirect3DIndexBuffer9* pIndexBuffer)
{
    Unlock(pIndexBuffer->Backend().As<GLBufferData>(), pIndexBuffer->Desc().Usage);
    return D3D_OK;
}
