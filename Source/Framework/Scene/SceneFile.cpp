#include "Framework/Scene/SceneFile.h"

#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Scene/detail/XmlNesting.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace {

std::string Prefix(const std::string& fileName)
{
    return "[Scene::LoadSceneData (" + fileName + ")] ";
}

[[noreturn]] void ParseError(const std::string& fileName, const std::string& what)
{
    throw FrameworkEx(Prefix(fileName) + "Error in Parse:" + SceneDocumentName + ":" + what);
}

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A number that is not finite (nan, inf, or too large for a float) would turn every matrix made
// from it into NaN; it counts as no number at all.
bool Finite(double value)
{
    return std::isfinite(value) && std::isfinite(static_cast<float>(value));
}

// The camera attribute's value as one number ("%lf"), or false.
bool ReadCameraNumber(const char* text, float& value)
{
    double number = 0.0;
    if (std::sscanf(text, "%lf", &number) != 1 || !Finite(number))
        return false;
    value = static_cast<float>(number);
    return true;
}

// Exactly count numbers ("%f %f ..."); otherwise the values are left as they are.
bool ReadNumbers(const char* text, float* values, int count)
{
    float read[4] = {};
    const int found = count == 4 ? std::sscanf(text, "%f %f %f %f", &read[0], &read[1], &read[2], &read[3])
                                 : std::sscanf(text, "%f %f %f", &read[0], &read[1], &read[2]);
    if (found != count)
        return false;
    for (int i = 0; i < count; ++i)
        if (!Finite(read[i]))
            return false;
    std::memcpy(values, read, sizeof(float) * count);
    return true;
}

void ReadColour(const TiXmlElement& element, D3DXVECTOR4& colour)
{
    if (const char* text = element.Attribute("color")) {
        float values[4];
        if (ReadNumbers(text, values, 4))
            colour = {values[0], values[1], values[2], values[3]};
    }
}

void ReadVector(const TiXmlElement& element, const char* attribute, D3DXVECTOR3& vector)
{
    if (const char* text = element.Attribute(attribute)) {
        float values[3];
        if (ReadNumbers(text, values, 3))
            vector = {values[0], values[1], values[2]};
    }
}

// The leading decimal number of the text, 0 when it does not start with one.
float ReadLeadingNumber(const TiXmlElement& element, const char* attribute)
{
    const char* text = element.Attribute(attribute);
    if (!text)
        return 0.0f;
    const double number = std::strtod(text, nullptr);
    return Finite(number) ? static_cast<float>(number) : 0.0f;
}

// The lens values a camera element sets; the others keep the values of the camera before it.
void ReadLens(const TiXmlElement& element, SceneCamera& camera)
{
    struct Field {
        const char* attribute;
        float CameraLens::*value;
    };
    static const Field fields[] = {{"nearz", &CameraLens::nearZ},         {"farz", &CameraLens::farZ},
                                   {"nearfocus", &CameraLens::nearFocus}, {"farfocus", &CameraLens::farFocus},
                                   {"vFOV", &CameraLens::fieldOfView},    {"aspect", &CameraLens::aspect}};
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute; attribute = attribute->Next()) {
        if (std::strcmp(attribute->Name(), "name") == 0) {
            camera.name = attribute->Value();
            continue;
        }
        float number = 0.0f;
        if (!ReadCameraNumber(attribute->Value(), number))
            continue;
        for (const Field& field : fields)
            if (std::strcmp(attribute->Name(), field.attribute) == 0)
                camera.lens.*field.value = number;
    }
}

// A lens the perspective projection divides by zero with, or turns inside out, would give the
// camera a matrix of infinities; such a file is refused with the camera and the values named.
void CheckLens(const SceneCamera& camera, const std::string& fileName)
{
    const CameraLens& lens = camera.lens;
    const std::string where = Prefix(fileName) + "camera \"" + camera.name + "\": ";
    if (!(lens.fieldOfView > 0.0f && lens.fieldOfView < std::numbers::pi_v<float>))
        throw FrameworkEx(where + "vFOV " + Number(lens.fieldOfView) + " is not between 0 and pi");
    if (!(lens.aspect > 0.0f))
        throw FrameworkEx(where + "aspect " + Number(lens.aspect) + " is not above 0");
    if (!(lens.nearZ > 0.0f && lens.farZ > lens.nearZ))
        throw FrameworkEx(where + "nearz " + Number(lens.nearZ) + " and farz " + Number(lens.farZ) +
                          " do not satisfy 0 < nearz < farz");
}

void ReadCameras(const TiXmlElement& cameras, const std::string& fileName, SceneFile& file)
{
    // The lens values carry over from one camera to the next; the first starts from the defaults.
    SceneCamera camera;
    for (const TiXmlElement* element = cameras.FirstChildElement("camera"); element;
         element = element->NextSiblingElement("camera")) {
        camera.name.clear();
        ReadLens(*element, camera);
        CheckLens(camera, fileName);
        file.cameras.push_back(camera);
    }
}

void ReadLight(const TiXmlElement& element, SceneLight::Kind kind, SceneFile& file)
{
    const char* name = element.Attribute("name");
    if (!name)
        return;
    SceneLight light;
    light.kind = kind;
    light.name = name;
    ReadColour(element, light.colour);
    ReadVector(element, "translation", light.position);
    const char* castShadows = element.Attribute("castshadows");
    light.castShadows = castShadows && std::strcmp(castShadows, "true") == 0;
    if (kind == SceneLight::Kind::Spot) {
        ReadVector(element, "rotation", light.rotation);
        light.radius = ReadLeadingNumber(element, "radius");
        light.coneAngle = ReadLeadingNumber(element, "coneangle");
        light.penumbraAngle = ReadLeadingNumber(element, "penumbraangle");
    }
    file.lights.push_back(light);
}

void ReadLights(const TiXmlElement& lights, SceneFile& file)
{
    for (const TiXmlNode* node = lights.FirstChild(); node; node = node->NextSibling()) {
        const TiXmlElement* element = node->ToElement();
        if (!element)
            continue;
        if (std::strcmp(element->Value(), "point") == 0)
            ReadLight(*element, SceneLight::Kind::Point, file);
        else if (std::strcmp(element->Value(), "spot") == 0)
            ReadLight(*element, SceneLight::Kind::Spot, file);
    }
}

} // namespace

SceneFile ParseSceneFile(const std::string& text, const std::string& fileName)
{
    // The parser reads up to a terminating zero; a zero inside the file would silently cut it short.
    if (const size_t zero = text.find('\0'); zero != std::string::npos)
        ParseError(fileName, "NUL character at byte " + std::to_string(zero));
    // The parser recurses once per nesting level.
    if (XmlNestingDepth(text, MaxSceneNesting) > MaxSceneNesting)
        ParseError(fileName, "elements nested more than " + std::to_string(MaxSceneNesting) + " deep");

    // In UTF-8 the parser steps over a whole character even where the text ends inside one, up
    // to three bytes past the terminating zero; zeros after it keep every read inside the buffer.
    const std::string padded = text + std::string(4, '\0');
    TiXmlDocument document(SceneDocumentName.c_str());
    document.Parse(padded.c_str());
    if (document.Error())
        ParseError(fileName, document.ErrorDesc());

    SceneFile file;
    const TiXmlElement* scene = document.FirstChildElement("scene");
    if (!scene)
        return file;
    if (const TiXmlElement* cameras = scene->FirstChildElement("cameras"))
        ReadCameras(*cameras, fileName, file);
    if (const TiXmlElement* lights = scene->FirstChildElement("lights"))
        ReadLights(*lights, file);
    return file;
}

unsigned SceneFileErrorLine(const std::string& text)
{
    if (text.find('\0') != std::string::npos || XmlNestingDepth(text, MaxSceneNesting) > MaxSceneNesting)
        return 0;
    const std::string padded = text + std::string(4, '\0');
    TiXmlDocument document(SceneDocumentName.c_str());
    document.Parse(padded.c_str());
    return document.Error() && document.ErrorRow() > 0 ? static_cast<unsigned>(document.ErrorRow()) : 0;
}

SceneFile ReadSceneFile(const std::string& fileName)
{
    const auto contents = FileSys::Instance()->ReadAll("Data\\" + fileName);
    const std::string text = contents ? std::string(contents->begin(), contents->end()) : std::string();
    return ParseSceneFile(text, fileName);
}
