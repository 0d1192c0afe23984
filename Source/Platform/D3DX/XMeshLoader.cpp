#include "Platform/D3DX/XMeshLoader.h"

#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/detail/MeshFromScene.h"
#include "Platform/D3DX/detail/XFileCheck.h"

#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <memory>
#include <string>

namespace {

struct SceneRelease {
    void operator()(const aiScene* scene) const { aiReleaseImport(scene); }
};

// assimp's ".x" reader always converts to its right-handed form: z negated with the frames' matrices
// to match, every face's corners reversed, v replaced by 1 - v. Each of these steps undoes itself,
// so asking for them once more gives the file's own data back.
constexpr unsigned UndoRightHanded = aiProcess_MakeLeftHanded | aiProcess_FlipWindingOrder | aiProcess_FlipUVs;

// Corners are unrolled per face by the reader; joining identical ones gives the shared vertices back.
constexpr unsigned ImportSteps = UndoRightHanded | aiProcess_JoinIdenticalVertices | aiProcess_ValidateDataStructure;

} // namespace

XMesh LoadXMesh(const void* data, size_t size)
{
    if (!data || size == 0)
        throw D3DXDataError("no mesh data");
    if (size > MaxXFileSize)
        throw D3DXDataError("the file is larger than " + std::to_string(MaxXFileSize / (1024 * 1024)) + " MiB");
    const char* text = static_cast<const char*>(data);
    const d3dx::detail::XFileSummary summary = d3dx::detail::CheckXFile(text, size);

    std::unique_ptr<const aiScene, SceneRelease> scene(
        aiImportFileFromMemory(text, static_cast<unsigned>(size), ImportSteps, "x"));
    if (!scene)
        throw D3DXDataError(std::string("assimp: ") + aiGetErrorString());
    return d3dx::detail::MeshFromScene(*scene, summary);
}
