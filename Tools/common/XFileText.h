// A ShapeMesh as a text ".x" file ("xof 0303txt 0032"): one Mesh with its MeshNormals (indexed like
// the faces), MeshTextureCoords and a MeshMaterialList of one white Material. Numbers are written
// with six decimals in the C locale and no negative zero, so the same mesh always gives the same
// bytes.
#pragma once

#include "ShapeMesh.h"

#include <string>

std::string XFileText(const ShapeMesh& mesh);
