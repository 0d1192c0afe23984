#include "Platform/D3DX/detail/XFileCheck.h"

#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/detail/XTextReader.h"

#include <cstring>
#include <string>
#include <vector>

namespace d3dx::detail {

namespace {

bool IsDigits(const char* text, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

// "xof " + version (4 digits) + format (4 characters) + float size (4 digits), then the rest of
// the line is ignored.
void CheckHeader(const char* data, size_t size)
{
    constexpr size_t HeaderSize = 16;
    if (size < HeaderSize || std::memcmp(data, "xof ", 4) != 0 || !IsDigits(data + 4, 4))
        throw D3DXDataError("not a .x file: it must start with a header such as \"xof 0303txt 0032\"");
    if (std::memcmp(data + 8, "txt ", 4) != 0)
        throw D3DXDataError("only text .x files are supported (\"xof 0303txt 0032\"), not the format '" +
                            std::string(data + 8, 4) + "'");
    if (std::memcmp(data + 12, "0032", 4) != 0 && std::memcmp(data + 12, "0064", 4) != 0)
        throw D3DXDataError("the header's float size must be 0032 or 0064");
}

class Checker {
public:
    explicit Checker(XTextReader& reader) : in(reader) {}

    XFileSummary File()
    {
        for (std::string token = in.NextToken(); !token.empty(); token = in.NextToken()) {
            if (token == "template")
                Template();
            else if (token == "Frame")
                Frame(1);
            else if (token == "Mesh")
                Mesh();
            else if (token == "Material")
                in.Fail("materials outside a mesh are not supported");
            else if (token == "AnimationSet" || token == "AnimTicksPerSecond")
                in.Fail("animations are not supported");
            else if (token != "}") // a stray brace at the top is ignored, as assimp does
                in.SkipUnknownObject();
        }
        if (!meshSeen)
            throw D3DXDataError("the file holds no mesh");
        return summary;
    }

private:
    void Template()
    {
        in.ReadObjectHead();
        in.NextToken(); // the GUID
        for (std::string token = in.NextToken(); token != "}"; token = in.NextToken())
            if (token.empty())
                in.Fail("the file ends inside a template");
    }

    void Frame(unsigned depth)
    {
        if (depth > MaxFrameDepth)
            in.Fail("frames are nested more than " + std::to_string(MaxFrameDepth) + " deep");
        in.ReadObjectHead();
        for (;;) {
            const std::string token = in.NextToken();
            if (token.empty())
                in.Fail("the file ends inside a frame");
            if (token == "}")
                return;
            if (token == "Frame")
                Frame(depth + 1);
            else if (token == "FrameTransformMatrix")
                TransformMatrix();
            else if (token == "Mesh")
                Mesh();
            else
                in.SkipUnknownObject();
        }
    }

    void TransformMatrix()
    {
        in.ReadObjectHead();
        for (int i = 0; i < 16; ++i)
            in.ReadFloat();
        in.ExpectSemicolon();
        in.ExpectClosingBrace();
    }

    void Mesh()
    {
        if (meshSeen)
            in.Fail("a second mesh: only one mesh per file is supported");
        meshSeen = true;
        in.ReadObjectHead();
        summary.vertexCount = in.ReadCount("the vertex count");
        for (uint32_t i = 0; i < summary.vertexCount; ++i)
            in.ReadFloats(3);
        summary.faceCount = in.ReadCount("the face count");
        if (summary.faceCount == 0)
            in.Fail("the mesh has no faces");
        faceCorners.reserve(summary.faceCount < 65536 ? summary.faceCount : 65536);
        for (uint32_t face = 0; face < summary.faceCount; ++face) {
            const uint32_t corners = in.ReadCount("the number of a face's corners");
            if (corners < 3)
                in.Fail("face " + std::to_string(face) + " has " + std::to_string(corners) +
                        " corners; a face needs at least 3");
            for (uint32_t c = 0; c < corners; ++c)
                Index(in.ReadCount("a vertex index"), summary.vertexCount, "face " + std::to_string(face), "vertices");
            in.SkipOptionalSeparator();
            faceCorners.push_back(corners);
        }
        for (;;) {
            const std::string token = in.NextToken();
            if (token.empty())
                in.Fail("the file ends inside the mesh");
            if (token == "}")
                return;
            if (token == "MeshNormals")
                Normals();
            else if (token == "MeshTextureCoords")
                TextureCoords();
            else if (token == "MeshMaterialList")
                MaterialList();
            else if (token == "MeshVertexColors")
                in.Fail("vertex colours are not supported");
            else if (token == "XSkinMeshHeader" || token == "SkinWeights")
                in.Fail("skinned meshes are not supported");
            else
                in.SkipUnknownObject();
        }
    }

    void Index(uint32_t index, uint32_t count, const std::string& where, const char* things)
    {
        if (index >= count)
            in.Fail(where + " refers to index " + std::to_string(index) + " but there are " +
                    std::to_string(count) + " " + things);
    }

    void Once(bool& seen, const char* object)
    {
        if (seen)
            in.Fail(std::string("a second ") + object + " in the mesh");
        seen = true;
    }

    void Normals()
    {
        Once(summary.hasNormals, "MeshNormals");
        in.ReadObjectHead();
        const uint32_t normalCount = in.ReadCount("the normal count");
        for (uint32_t i = 0; i < normalCount; ++i)
            in.ReadFloats(3);
        const uint32_t faceCount = in.ReadCount("the count of faces with normals");
        if (faceCount != summary.faceCount)
            in.Fail("MeshNormals gives normals for " + std::to_string(faceCount) + " faces; the mesh has " +
                    std::to_string(summary.faceCount));
        for (uint32_t face = 0; face < faceCount; ++face) {
            const uint32_t corners = in.ReadCount("the number of a face's normals");
            if (corners != faceCorners[face])
                in.Fail("face " + std::to_string(face) + " has " + std::to_string(faceCorners[face]) +
                        " corners but " + std::to_string(corners) + " normals");
            for (uint32_t c = 0; c < corners; ++c)
                Index(in.ReadCount("a normal index"), normalCount, "the normals of face " + std::to_string(face),
                      "normals");
            in.SkipOptionalSeparator();
        }
        in.ExpectClosingBrace();
    }

    void TextureCoords()
    {
        Once(summary.hasTextureCoords, "MeshTextureCoords");
        in.ReadObjectHead();
        const uint32_t count = in.ReadCount("the texture coordinate count");
        if (count != summary.vertexCount)
            in.Fail("there are " + std::to_string(count) + " texture coordinates for " +
                    std::to_string(summary.vertexCount) + " vertices");
        for (uint32_t i = 0; i < count; ++i)
            in.ReadFloats(2);
        in.ExpectClosingBrace();
    }

    void MaterialList()
    {
        bool seen = summary.materialCount != 0;
        Once(seen, "MeshMaterialList");
        in.ReadObjectHead();
        const uint32_t materialCount = in.ReadCount("the material count");
        if (materialCount == 0)
            in.Fail("a material list without materials");
        const uint32_t indexCount = in.ReadCount("the count of face materials");
        if (indexCount != summary.faceCount)
            in.Fail("the material list names materials for " + std::to_string(indexCount) +
                    " faces; the mesh has " + std::to_string(summary.faceCount));
        for (uint32_t face = 0; face < indexCount; ++face)
            Index(in.ReadCount("a material index"), materialCount, "the material of face " + std::to_string(face),
                  "materials");
        in.SkipAdjacentSemicolon();

        uint32_t materials = 0;
        for (;;) {
            const std::string token = in.NextToken();
            if (token.empty())
                in.Fail("the file ends inside the material list");
            if (token == "}")
                break;
            if (token == "{")
                in.Fail("references to materials are not supported; give each material in place");
            if (token == "Material") {
                Material();
                ++materials;
            } else if (token != ";") {
                in.SkipUnknownObject();
            }
        }
        if (materials != materialCount)
            in.Fail("the material list declares " + std::to_string(materialCount) + " materials but holds " +
                    std::to_string(materials));
        summary.materialCount = materialCount;
    }

    void Material()
    {
        in.ReadObjectHead();
        in.ReadFloats(4); // diffuse (face colour)
        in.ReadFloat();   // specular power
        in.ReadFloats(3); // specular
        in.ReadFloats(3); // emissive
        for (;;) {
            const std::string token = in.NextToken();
            if (token.empty())
                in.Fail("the file ends inside a material");
            if (token == "}")
                return;
            if (token == "TextureFilename" || token == "TextureFileName" || token == "NormalmapFilename" ||
                token == "NormalmapFileName") {
                in.ReadObjectHead();
                in.ReadString();
                in.ExpectClosingBrace();
            } else {
                in.SkipUnknownObject();
            }
        }
    }

    XTextReader& in;
    XFileSummary summary;
    bool meshSeen = false;
    std::vector<uint32_t> faceCorners;
};

} // namespace

XFileSummary CheckXFile(const char* data, size_t size)
{
    CheckHeader(data, size);
    XTextReader reader(data + 16, data + size);
    reader.SkipLine();
    Checker checker(reader);
    return checker.File();
}

} // namespace d3dx::detail
