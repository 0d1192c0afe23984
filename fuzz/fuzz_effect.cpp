// The effect language and the compiled-effect loader. Each input is tried both ways: as compiled
// data, which must either be refused or save back to exactly the same bytes; and as effect
// source, which must either be refused with a message inside the file it names, or give a
// description whose compiled form loads back equal. The source may include "common.fxh" (a
// fixed include) and "self.fxh" (the input itself, so that include handling meets any text).
#include "FuzzCheck.h"
#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectError.h"
#include "Platform/Fx/EffectParser.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t MaxInput = 64 * 1024;

constexpr std::string_view Common = R"(shared float4x4 ViewProj : VIEWPROJ;
shared float Time : TIME;
texture2D Col : COLTEX1;
sampler2D ColSampler = sampler_state { Texture = Col; Filter = LINEAR; Address = CLAMP; };
glsl common { float Twice(float x) { return 2.0 * x; } }
glsl vertex FullScreen(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0); } }
)";

uint32_t LineCount(std::string_view text)
{
    return static_cast<uint32_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

void TryCompiled(const std::vector<unsigned char>& bytes)
{
    try {
        const fx::EffectDescription loaded = fx::LoadCompiledEffect("fuzz.fxo", bytes);
        FuzzCheck(fx::SaveCompiledEffect(loaded) == bytes, "compiled data that loads saves to the same bytes");
    } catch (const fx::EffectError& e) {
        FuzzCheck(e.file == "fuzz.fxo" && e.line == 0 && !e.fault.empty(), "a refusal names the data and says why");
    }
}

void TrySource(std::string_view text)
{
    const auto include = [&](const std::string& name) -> std::optional<std::string> {
        if (name == "common.fxh")
            return std::string(Common);
        if (name == "self.fxh")
            return std::string(text);
        return std::nullopt;
    };
    try {
        const fx::EffectDescription effect = fx::ParseEffect("fuzz.fx", text, include);
        const std::vector<unsigned char> bytes = fx::SaveCompiledEffect(effect);
        FuzzCheck(fx::LoadCompiledEffect("fuzz.fxo", bytes) == effect, "a parsed effect survives its compiled form");
        for (const fx::ShaderBlock& block : effect.shaders)
            FuzzCheck(block.source.rfind("#version 330 core\n", 0) == 0, "every generated source starts with its version");
    } catch (const fx::EffectError& e) {
        const uint32_t lines = e.file == "common.fxh" ? LineCount(Common) : LineCount(text);
        FuzzCheck(e.file == "fuzz.fx" || e.file == "self.fxh" || e.file == "common.fxh", "a fault names a file of the effect");
        FuzzCheck(e.line >= 1 && e.line <= lines, "a fault names a line of its file");
        FuzzCheck(!e.fault.empty(), "a fault says what is wrong");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    TryCompiled(std::vector<unsigned char>(data, data + size));
    TrySource(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
