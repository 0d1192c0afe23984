#include "XFileText.h"

#include <charconv>
#include <cmath>

namespace {

void Number(std::string& out, float value)
{
    if (std::fabs(value) < 5e-7f) // would print as -0.000000 or 0.000000: write it as zero
        value = 0.0f;
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    out.append(text, result.ptr);
}

void Count(std::string& out, size_t value)
{
    out += std::to_string(value);
}

// Elements of a list end in ',' except the last, which ends in ';'.
const char* ListEnd(size_t index, size_t count)
{
    return index + 1 < count ? "," : ";";
}

template <size_t N>
void Vectors(std::string& out, const std::vector<std::array<float, N>>& vectors)
{
    out += "  ";
    Count(out, vectors.size());
    out += ";\n";
    for (size_t i = 0; i < vectors.size(); ++i) {
        out += "  ";
        for (float component : vectors[i]) {
            Number(out, component);
            out += ';';
        }
        out += ListEnd(i, vectors.size());
        out += '\n';
    }
}

void Faces(std::string& out, const std::vector<std::array<uint32_t, 3>>& triangles)
{
    out += "  ";
    Count(out, triangles.size());
    out += ";\n";
    for (size_t i = 0; i < triangles.size(); ++i) {
        const auto& t = triangles[i];
        out += "  3;" + std::to_string(t[0]) + ',' + std::to_string(t[1]) + ',' + std::to_string(t[2]) + ';';
        out += ListEnd(i, triangles.size());
        out += '\n';
    }
}

} // namespace

std::string XFileText(const ShapeMesh& mesh)
{
    std::string out = "xof 0303txt 0032\n\nMesh " + mesh.name + " {\n";
    Vectors(out, mesh.positions);
    Faces(out, mesh.triangles);

    out += "\n  MeshNormals {\n";
    Vectors(out, mesh.normals);
    Faces(out, mesh.triangles);
    out += "  }\n\n  MeshTextureCoords {\n";
    Vectors(out, mesh.texCoords);
    out += "  }\n\n  MeshMaterialList {\n  1;\n  ";
    Count(out, mesh.triangles.size());
    out += ";\n";
    for (size_t i = 0; i < mesh.triangles.size(); ++i) {
        out += "  0";
        out += i + 1 < mesh.triangles.size() ? ",\n" : ";;\n";
    }
    out += "\n  Material White {\n"
           "   1.000000;1.000000;1.000000;1.000000;;\n"
           "   0.000000;\n"
           "   0.000000;0.000000;0.000000;;\n"
           "   0.000000;0.000000;0.000000;;\n"
           "  }\n  }\n}\n";
    return out;
}
