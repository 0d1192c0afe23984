// The GL backend's geometry: vertex declarations as attribute formats at the effect layer's
// locations, streams and indices bound at the draw that needs them, indexed draws.
#include "Platform/Gfx/GL/GLBackend.h"

#include "Platform/Fx/StageSemantics.h"
#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLResources.h"

namespace {

struct AttributeFormat {
    GLint size;
    GLenum type;
    GLboolean normalized;
};

AttributeFormat FormatOf(BYTE type)
{
    switch (type) {
    case D3DDECLTYPE_FLOAT1: return {1, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_FLOAT2: return {2, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_FLOAT3: return {3, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_FLOAT4: return {4, GL_FLOAT, GL_FALSE};
    // The bytes B, G, R, A: GL reads them in that order with the size GL_BGRA.
    case D3DDECLTYPE_D3DCOLOR: return {GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE};
    case D3DDECLTYPE_UBYTE4: return {4, GL_UNSIGNED_BYTE, GL_FALSE};
    case D3DDECLTYPE_SHORT2: return {2, GL_SHORT, GL_FALSE};
    case D3DDECLTYPE_SHORT4: return {4, GL_SHORT, GL_FALSE};
    case D3DDECLTYPE_UBYTE4N: return {4, GL_UNSIGNED_BYTE, GL_TRUE};
    case D3DDECLTYPE_SHORT2N: return {2, GL_SHORT, GL_TRUE};
    case D3DDECLTYPE_SHORT4N: return {4, GL_SHORT, GL_TRUE};
    case D3DDECLTYPE_USHORT2N: return {2, GL_UNSIGNED_SHORT, GL_TRUE};
    case D3DDECLTYPE_USHORT4N: return {4, GL_UNSIGNED_SHORT, GL_TRUE};
    // GL's packed types come with four components; the fourth (two bits) goes unread by a vec3.
    case D3DDECLTYPE_UDEC3: return {4, GL_UNSIGNED_INT_2_10_10_10_REV, GL_FALSE};
    case D3DDECLTYPE_DEC3N: return {4, GL_INT_2_10_10_10_REV, GL_TRUE};
    case D3DDECLTYPE_FLOAT16_2: return {2, GL_HALF_FLOAT, GL_FALSE};
    case D3DDECLTYPE_FLOAT16_4: return {4, GL_HALF_FLOAT, GL_FALSE};
    default: return {4, GL_FLOAT, GL_FALSE};
    }
}

GLenum ModeOf(D3DPRIMITIVETYPE type)
{
    switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
    }
}

GLsizei IndexCount(D3DPRIMITIVETYPE type, UINT primitives)
{
    switch (type) {
    case D3DPT_POINTLIST: return static_cast<GLsizei>(primitives);
    case D3DPT_LINELIST: return static_cast<GLsizei>(primitives * 2);
    case D3DPT_LINESTRIP: return static_cast<GLsizei>(primitives + 1);
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return static_cast<GLsizei>(primitives + 2);
    default: return static_cast<GLsizei>(primitives * 3);
    }
}

} // namespace

HRESULT GLBackend::CreateVertexDeclaration(const D3DVERTEXELEMENT9*, IDirect3DVertexDeclaration9** ppDecl)
{
    IDirect3DVertexDeclaration9& declaration = **ppDecl;
    auto data = std::make_unique<GLDeclarationData>();
    for (const D3DVERTEXELEMENT9& element : declaration.Elements()) {
        const auto semantic = fx::FindStageSemantic(fx::ShaderStage::Vertex, static_cast<fx::Usage>(element.Usage),
                                                    element.UsageIndex);
        // No vertex block can declare such an input, so no program reads it.
        if (!semantic) {
            continue;
        }
        const AttributeFormat format = FormatOf(element.Type);
        data->attributes.push_back({semantic->location, element.Stream, element.Offset, format.size, format.type,
                                    format.normalized});
    }
    declaration.Backend().Attach(std::move(data));
    return D3D_OK;
}

HRESULT GLBackend::SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT)
{
    Data().geometryDirty = true;
    return D3D_OK;
}

HRESULT GLBackend::SetIndices(IDirect3DIndexBuffer9*)
{
    Data().geometryDirty = true;
    return D3D_OK;
}

HRESULT GLBackend::SetVertexDeclaration(IDirect3DVertexDeclaration9*)
{
    Data().geometryDirty = true;
    return D3D_OK;
}

void GLBackend::BindGeometry()
{
    GLDeviceData& data = Data();
    if (!data.geometryDirty) {
        return;
    }
    const DeviceState& state = device_->State();
    uint32_t enabled = 0;
    if (state.vertexDeclaration) {
        for (const auto& attribute : state.vertexDeclaration->Backend().As<GLDeclarationData>().attributes) {
            const StreamSource& stream = state.streams[attribute.stream];
            if (!stream.buffer) {
                continue;
            }
            glBindBuffer(GL_ARRAY_BUFFER, stream.buffer->Backend().As<GLBufferData>().name);
            glVertexAttribPointer(attribute.location, attribute.size, attribute.type, attribute.normalized,
                                  static_cast<GLsizei>(stream.stride),
                                  reinterpret_cast<const void*>(uintptr_t{stream.offset} + attribute.offset));
            glEnableVertexAttribArray(attribute.location);
            enabled |= 1u << attribute.location;
        }
    }
    for (GLuint location = 0; location < 32; ++location) {
        if ((data.enabledAttributes & ~enabled) & (1u << location)) {
            glDisableVertexAttribArray(location);
        }
    }
    data.enabledAttributes = enabled;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state.indices ? state.indices->Backend().As<GLBufferData>().name : 0);
    data.geometryDirty = false;
}

HRESULT GLBackend::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex, UINT, UINT,
                                        UINT startIndex, UINT primCount)
{
    GLDeviceData& data = Data();
    // Without a program from the effect layer there is nothing to run the vertices through.
    if (!data.program) {
        return D3DERR_INVALIDCALL;
    }
    const DeviceState& state = device_->State();
    if (const HRESULT hr = BindTargets(Op::DrawIndexedPrimitive); FAILED(hr)) {
        return hr;
    }
    data.state.ApplyForDraw();
    const D3DVIEWPORT9& viewport = state.viewport;
    glViewport(static_cast<GLint>(viewport.X), static_cast<GLint>(viewport.Y), static_cast<GLsizei>(viewport.Width),
               static_cast<GLsizei>(viewport.Height));
    glDepthRange(viewport.MinZ, viewport.MaxZ);
    glUseProgram(data.program);
    BindGeometry();
    const bool wide = state.indices->Desc().Format == D3DFMT_INDEX32;
    const size_t indexSize = wide ? 4 : 2;
    glDrawElementsBaseVertex(ModeOf(PrimitiveType), IndexCount(PrimitiveType, primCount),
                             wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(indexSize * startIndex), BaseVertexIndex);
    return D3D_OK;
}
