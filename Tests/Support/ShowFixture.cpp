#include "Support/ShowFixture.h"

#include "Framework/Noise/NoiseVolume.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectParser.h"
#include "Platform/Window/MessageBox.h"
#include "Platform/Window/MessagePump.h"

#include <cstdlib>

LoggingScene::LoggingScene(const std::string& name, std::vector<std::string>& log, int framesBeforeQuit)
    : Scene(name), log(log), framesBeforeQuit(framesBeforeQuit)
{
}

void LoggingScene::Render()
{
    renderTimes.push_back(Timer::GetElapsed());
    if (++framesRendered == framesBeforeQuit)
        PostQuitMessage(0);
}

std::vector<unsigned char> CompiledGlobalEffect()
{
    static const char* const source = R"(
shared float4x4 ViewProj : VIEWPROJ;
shared float Time : TIME;
shared texture3D NoiseTex : NOISETEX;
shared texture2D NoiseVecTex : NOISEVECTEX;
sampler3D NoiseSampler = sampler_state { Texture = NoiseTex; };
glsl vertex Corner(vec3 Position : POSITION0) {
    void main() { gl_Position = vec4(Position, 1.0) * ViewProj; }
}
glsl fragment Shade(vec4 Color : COLOR0) {
    void main() { Color = texture(NoiseSampler, vec3(0.5)) + vec4(Time); }
}
technique Default { pass P0 { VertexShader = Corner; PixelShader = Shade; } }
)";
    return fx::SaveCompiledEffect(fx::ParseEffect("global.fx", source, [](const std::string&) { return std::nullopt; }));
}

void ShowFixture::SetUp()
{
    ArchiveFixture::SetUp();
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SetMessageBoxPresenter([this](const std::string& caption, const std::string& text) {
        boxes.push_back(caption + "|" + text);
    });
}

void ShowFixture::TearDown()
{
    SetMessageBoxPresenter(nullptr);
    ArchiveFixture::TearDown();
}

void ShowFixture::MountShow()
{
    ArchiveWriter writer;
    writer.Add("Data\\events\\Scenes.txt", Bytes("0 Test\n"));
    writer.Add("OShaders\\global.fxo", CompiledGlobalEffect());
    // A ready noise volume, so that creating the device resources does not bake one.
    writer.Add("Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount, 0x80));
    WriteArchive(writer.Build());
}

std::unique_ptr<DXFramework> ShowFixture::MakeFramework(const std::string& commandLine)
{
    auto framework = std::make_unique<DXFramework>(nullptr, commandLine, "Quiet Lantern",
                                                   RecorderDirect3DCreator(recorder));
    framework->musicEnabled = false;
    return framework;
}
