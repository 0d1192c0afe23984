#include "Platform/D3DX/detail/MeshFromScene.h"

#include "Platform/D3DX/D3DXDataError.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <cmath>
#include <optional>
#include <vector>

namespace d3dx::detail {

namespace {

// D3DX's material for a mesh that names none.
XMeshMaterial DefaultMaterial()
{
    return XMeshMaterial{{0.5f, 0.5f, 0.5f, 0.0f}, {0, 0, 0, 0}, {0.5f, 0.5f, 0.5f, 0.0f}, {0, 0, 0, 0}, 0.0f};
}

void Copy(float* out, const aiColor4D& colour)
{
    out[0] = colour.r;
    out[1] = colour.g;
    out[2] = colour.b;
    out[3] = colour.a;
}

// A ".x" material: face colour, power, specular and emissive colours (their alpha 1), no ambient
// colour (D3DX gives (0, 0, 0, 1)). Texture names are not read.
XMeshMaterial MaterialFrom(const aiMaterial& material)
{
    XMeshMaterial out{{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0.0f};
    aiColor4D colour;
    if (aiGetMaterialColor(&material, AI_MATKEY_COLOR_DIFFUSE, &colour) == AI_SUCCESS)
        Copy(out.diffuse, colour);
    if (aiGetMaterialColor(&material, AI_MATKEY_COLOR_SPECULAR, &colour) == AI_SUCCESS)
        Copy(out.specular, colour);
    if (aiGetMaterialColor(&material, AI_MATKEY_COLOR_EMISSIVE, &colour) == AI_SUCCESS)
        Copy(out.emissive, colour);
    aiGetMaterialFloat(&material, AI_MATKEY_SHININESS, &out.power);
    return out;
}

// Where each of the scene's meshes sits: the product of the frame transforms above it.
void CollectTransforms(const aiNode& node, const aiMatrix4x4& parent, std::vector<std::optional<aiMatrix4x4>>& out)
{
    const aiMatrix4x4 global = parent * node.mTransformation;
    for (unsigned i = 0; i < node.mNumMeshes; ++i)
        if (node.mMeshes[i] < out.size())
            out[node.mMeshes[i]] = global;
    for (unsigned i = 0; i < node.mNumChildren; ++i)
        CollectTransforms(*node.mChildren[i], global, out);
}

// Normals go through the cofactor matrix of the transform's upper 3x3 (its inverse transpose
// times the determinant), signed so that a mirroring transform keeps them pointing outwards, and
// are then normalised.
aiMatrix3x3 NormalMatrix(const aiMatrix4x4& t)
{
    const aiMatrix3x3 m(t);
    const float s = m.Determinant() < 0 ? -1.0f : 1.0f;
    return aiMatrix3x3(s * (m.b2 * m.c3 - m.b3 * m.c2), s * (m.b3 * m.c1 - m.b1 * m.c3), s * (m.b1 * m.c2 - m.b2 * m.c1),
                       s * (m.a3 * m.c2 - m.a2 * m.c3), s * (m.a1 * m.c3 - m.a3 * m.c1), s * (m.a2 * m.c1 - m.a1 * m.c2),
                       s * (m.a2 * m.b3 - m.a3 * m.b2), s * (m.a3 * m.b1 - m.a1 * m.b3), s * (m.a1 * m.b2 - m.a2 * m.b1));
}

class Builder {
public:
    explicit Builder(XMesh& mesh) : mesh(mesh) {}

    void Append(const aiMesh& part, const aiMatrix4x4& transform)
    {
        const auto base = static_cast<uint32_t>(mesh.vertices.size());
        const aiMatrix3x3 normalMatrix = NormalMatrix(transform);
        for (unsigned v = 0; v < part.mNumVertices; ++v) {
            XMeshVertex vertex{};
            const aiVector3D position = transform * part.mVertices[v];
            Store(vertex.position, {position.x, position.y, position.z});
            if (part.HasNormals()) {
                const aiVector3D normal = (normalMatrix * part.mNormals[v]).NormalizeSafe();
                Store(vertex.normal, {normal.x, normal.y, normal.z});
            }
            if (part.HasTextureCoords(0))
                Store(vertex.texCoord, {part.mTextureCoords[0][v].x, part.mTextureCoords[0][v].y});
            mesh.vertices.push_back(vertex);
        }
        for (unsigned f = 0; f < part.mNumFaces; ++f) {
            const aiFace& face = part.mFaces[f];
            if (face.mNumIndices < 3)
                throw D3DXDataError("assimp turned a face into a point or a line");
            for (unsigned i = 0; i < face.mNumIndices; ++i)
                if (face.mIndices[i] >= part.mNumVertices)
                    throw D3DXDataError("assimp produced a face index out of range");
            for (unsigned i = 1; i + 1 < face.mNumIndices; ++i) // a fan, as D3DX splits polygons
                mesh.indices.insert(mesh.indices.end(), {base + face.mIndices[0], base + face.mIndices[i],
                                                         base + face.mIndices[i + 1]});
        }
    }

private:
    template <size_t N>
    static void Store(float (&out)[N], const float (&in)[N])
    {
        for (size_t i = 0; i < N; ++i) {
            if (!std::isfinite(in[i]))
                throw D3DXDataError("the mesh holds a coordinate that is not a finite number");
            out[i] = in[i];
        }
    }

    XMesh& mesh;
};

} // namespace

XMesh MeshFromScene(const aiScene& scene, const XFileSummary& file)
{
    XMesh mesh;
    const bool namedMaterials = file.materialCount > 0;
    if (namedMaterials && scene.mNumMaterials != file.materialCount)
        throw D3DXDataError("assimp read " + std::to_string(scene.mNumMaterials) + " materials where the file has " +
                            std::to_string(file.materialCount));
    const unsigned subsetCount = namedMaterials ? file.materialCount : 1;
    for (unsigned m = 0; m < subsetCount; ++m)
        mesh.materials.push_back(namedMaterials ? MaterialFrom(*scene.mMaterials[m]) : DefaultMaterial());

    std::vector<std::optional<aiMatrix4x4>> transforms(scene.mNumMeshes);
    if (scene.mRootNode)
        CollectTransforms(*scene.mRootNode, aiMatrix4x4(), transforms);

    Builder builder(mesh);
    for (unsigned m = 0; m < subsetCount; ++m) {
        XMeshSubset subset{m, static_cast<uint32_t>(mesh.indices.size() / 3), 0,
                           static_cast<uint32_t>(mesh.vertices.size()), 0};
        for (unsigned i = 0; i < scene.mNumMeshes; ++i) {
            const aiMesh& part = *scene.mMeshes[i];
            if (part.mMaterialIndex != m)
                continue;
            if (!transforms[i])
                throw D3DXDataError("assimp left a mesh outside the frame hierarchy");
            builder.Append(part, *transforms[i]);
        }
        subset.faceCount = static_cast<uint32_t>(mesh.indices.size() / 3) - subset.faceStart;
        subset.vertexCount = static_cast<uint32_t>(mesh.vertices.size()) - subset.vertexStart;
        mesh.subsets.push_back(subset);
    }
    if (mesh.indices.empty())
        throw D3DXDataError("assimp found no faces in the mesh");
    return mesh;
}

} // namespace d3dx::detail
