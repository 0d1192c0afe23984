#include "BenchEffectSource.h"

#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectParser.h"

#include <algorithm>
#include <optional>

namespace {

const std::string Common = "shared float4x4 ViewProj : VIEWPROJ;\nshared float Time : TIME;\n"
                           "shared float2 FocusMaxZ : FOCUS_MAXZ;\n";

} // namespace

std::string BenchEffectSource()
{
    std::string text = "#include \"common.fxh\"\n";
    for (int i = 0; i < 24; ++i)
        text += "float4 Value" + std::to_string(i) + " : VALUE" + std::to_string(i) + " = {1, 0.5, 0.25, " +
                std::to_string(i) + "};\n";
    text += "float3 Kernel[16] : SSAOKERNEL;\n";
    for (int i = 0; i < 8; ++i) {
        const std::string n = std::to_string(i);
        text += "texture2D Tex" + n + " : TEXTURE" + n + " < string ResourceName = \"tex" + n +
                ".png\"; string Filter = \"LINEAR\"; >;\n";
        text += "sampler2D Sampler" + n + " = sampler_state {\n    Texture = Tex" + n +
                ";\n    Filter = LINEAR;\n    Address = CLAMP;\n};\n";
    }
    text += "glsl vertex FullScreen(vec3 Position : POSITION0, vec3 FarRay : NORMAL0) {\n"
            "    out vec2 uv;\n    out vec3 ray;\n    void main()\n    {\n"
            "        gl_Position = vec4(Position.xy, 0.0, 1.0) * ViewProj;\n"
            "        uv = Position.xy * vec2(0.5, -0.5) + 0.5;\n        ray = FarRay;\n    }\n}\n";
    for (int i = 0; i < 12; ++i) {
        const std::string n = std::to_string(i);
        text += "glsl fragment Pass" + n + "(vec4 Color : COLOR0, vec2 Velocity : COLOR1) {\n"
                "    in vec2 uv;\n    in vec3 ray;\n    // pass " + n + " of the chain\n    void main()\n    {\n"
                "        vec4 sum = vec4(0.0);\n";
        for (int tap = 0; tap < 16; ++tap)
            text += "        sum += texture(Sampler" + std::to_string((i + tap) % 8) + ", uv + vec2(" +
                    std::to_string(tap) + ".0, 0.0) * Value" + std::to_string(tap) + ".xy) * Kernel[" +
                    std::to_string(tap) + "].x;\n";
        text += "        Color = sum * Time;\n        Velocity = vec2(FocusMaxZ);\n    }\n}\n";
    }
    for (int i = 0; i < 6; ++i) {
        const std::string n = std::to_string(i);
        text += "technique Chain" + n + " {\n    pass Blur {\n        VertexShader = FullScreen;\n"
                "        PixelShader = Pass" + std::to_string(2 * i) +
                ";\n        ZEnable = FALSE;\n        CullMode = NONE;\n    }\n    pass Add {\n"
                "        VertexShader = FullScreen;\n        PixelShader = Pass" + std::to_string(2 * i + 1) +
                ";\n        AlphaBlendEnable = TRUE; SrcBlend = ONE; DestBlend = ONE;\n"
                "        ColorWriteEnable = RED | GREEN | BLUE;\n    }\n}\n";
    }
    while (std::count(text.begin(), text.end(), '\n') < BenchEffectLines)
        text += "// padding to the benchmark's length\n";
    return text;
}

fx::EffectDescription ParseBenchEffect(const std::string& source)
{
    return fx::ParseEffect("Bench.fx", source, [](const std::string&) { return std::optional<std::string>(Common); });
}

std::vector<unsigned char> CompiledBenchEffect()
{
    return fx::SaveCompiledEffect(ParseBenchEffect(BenchEffectSource()));
}
