// The scene description files: XML exported from the modelling tool with a scene's cameras and
// lights, read into plain records in document order (the scene builds its cameras and lights
// from them).
//
//   <scene>
//     <cameras><camera name="Camera1" vFOV="0.6" aspect="1.777" nearz="0.5" farz="200"
//                      nearfocus="8" farfocus="30"/></cameras>
//     <lights><point name="Lamp" color="1 0.9 0.8 1" translation="0 4 0" castshadows="true"/>
//             <spot name="Spot1" translation="0 5 0" rotation="-1.57 0 0" radius="40"
//                   coneangle="0.6" penumbraangle="0.1"/></lights>
//   </scene>
#pragma once

#include "Framework/Scene/CameraLens.h"
#include "Platform/D3DX/D3DXMath.h"

#include <string>
#include <vector>

struct SceneCamera {
    std::string name;
    CameraLens lens;
};

struct SceneLight {
    enum class Kind { Point, Spot };

    Kind kind = Kind::Point;
    std::string name;
    D3DXVECTOR4 colour{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXVECTOR3 position;
    // Spot lights only.
    D3DXVECTOR3 rotation;
    float radius = 0.0f;
    float coneAngle = 0.0f;
    float penumbraAngle = 0.0f;
    bool castShadows = false;
};

struct SceneFile {
    std::vector<SceneCamera> cameras;
    std::vector<SceneLight> lights; // lights with a name, in document order
};

// The document name parse errors give.
inline const std::string SceneDocumentName = "scenenodes.xml";
// Deeper than any scene file; a deeper one is refused before parsing.
constexpr size_t MaxSceneNesting = 256;

// Reads the text of the scene file fileName (named in messages). Throws FrameworkEx
// "[Scene::LoadSceneData (<fileName>)] Error in Parse:scenenodes.xml:<what>" for a text that is not
// XML (an empty one included), and a message naming the camera for a lens no projection can be
// built from.
SceneFile ParseSceneFile(const std::string& text, const std::string& fileName);

// The line of the text's first XML fault, or 0 when it parses (or its fault has no line).
unsigned SceneFileErrorLine(const std::string& text);

// Reads and parses the archive entry "Data\" + fileName; a missing entry parses as an empty text.
SceneFile ReadSceneFile(const std::string& fileName);
