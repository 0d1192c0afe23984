// The ".x" loader: the file check in front of assimp and the conversion of assimp's scene. Every
// input is either refused with D3DXDataError or gives a mesh whose subsets tile its triangles in
// order, whose indices stay inside their subset's vertices and whose numbers are finite.
#include "FuzzCheck.h"
#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/XMeshLoader.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr size_t MaxInput = 64 * 1024;

bool Finite(const float* values, int count)
{
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    XMesh mesh;
    try {
        mesh = LoadXMesh(data, size);
    } catch (const D3DXDataError&) {
        return 0;
    }
    FuzzCheck(!mesh.subsets.empty() && mesh.subsets.size() == mesh.materials.size(), "one subset per material");
    FuzzCheck(mesh.indices.size() % 3 == 0 && !mesh.indices.empty(), "a non-empty triangle list");

    uint32_t face = 0, vertex = 0;
    for (size_t i = 0; i < mesh.subsets.size(); ++i) {
        const XMeshSubset& subset = mesh.subsets[i];
        FuzzCheck(subset.attribId == i, "subset i has attribute i");
        FuzzCheck(subset.faceStart == face && subset.vertexStart == vertex, "subsets follow each other");
        face += subset.faceCount;
        vertex += subset.vertexCount;
        for (uint32_t f = subset.faceStart; f < face; ++f)
            for (int c = 0; c < 3; ++c) {
                const uint32_t index = mesh.indices[3 * size_t(f) + c];
                FuzzCheck(index >= subset.vertexStart && index < vertex, "indices stay inside their subset's vertices");
            }
    }
    FuzzCheck(face * size_t(3) == mesh.indices.size() && vertex == mesh.vertices.size(), "the subsets cover the mesh");

    for (const XMeshVertex& v : mesh.vertices) {
        FuzzCheck(Finite(v.position, 3) && Finite(v.normal, 3) && Finite(v.texCoord, 2), "vertex data is finite");
        const float length = std::sqrt(v.normal[0] * v.normal[0] + v.normal[1] * v.normal[1] + v.normal[2] * v.normal[2]);
        FuzzCheck(length == 0.0f || std::fabs(length - 1.0f) < 1e-3f, "normals are unit length or zero");
    }
    return 0;
}
