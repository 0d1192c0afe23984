#include "BenchObjectEffect.h"

#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectParser.h"

#include <optional>

namespace {

const char* const Source = R"(
shared float4x4 ViewProj : VIEWPROJ;
shared float Time : TIME;
float4x4 LocalViewProj : LOCALVIEWPROJ;
float4x4 LightViewProj : LIGHTVIEWPROJ;
float4 Diffuse : DIFFUSE = {1, 1, 1, 1};
float4 Ambient : AMBIENT = {0.1, 0.1, 0.1, 1};
float4 LightDirection : LIGHTDIR = {0, 0, 1, 0};
float4 Tint : TINT = {1, 0.5, 0.25, 1};
glsl vertex Place(vec3 Position : POSITION0) {
    out vec4 lightPosition;
    void main()
    {
        gl_Position = vec4(Position, 1.0) * LocalViewProj;
        lightPosition = vec4(Position, 1.0) * LightViewProj;
    }
}
glsl fragment Shade(vec4 Color : COLOR0) {
    in vec4 lightPosition;
    void main()
    {
        float lit = max(dot(LightDirection.xyz, normalize(lightPosition.xyz + vec3(0.0, 0.0, 1.0))), 0.0);
        Color = Diffuse * Tint * lit + Ambient * (0.75 + 0.25 * sin(Time));
    }
}
technique Default { pass P0 { VertexShader = Place; PixelShader = Shade; ZEnable = FALSE; CullMode = NONE; } }
)";

} // namespace

const std::string ObjectEffectFile = "Object.fx";

std::vector<unsigned char> CompiledObjectEffect()
{
    return fx::SaveCompiledEffect(
        fx::ParseEffect(ObjectEffectFile, Source, [](const std::string&) { return std::optional<std::string>(); }));
}

const std::vector<std::string>& ObjectEffectSemantics()
{
    static const std::vector<std::string> semantics = {"VIEWPROJ", "TIME",     "LOCALVIEWPROJ", "LIGHTVIEWPROJ",
                                                       "DIFFUSE",  "AMBIENT",  "LIGHTDIR",      "TINT"};
    return semantics;
}
