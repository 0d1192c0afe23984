#include "Demo/ShowScenesFixture.h"

#include "Modules/PostEffectsFiles.h"

#include "Demo/Scenes/ScrollerScene.h"
#include "Demo/ShowAssembly.h"
#include "Framework/Noise/NoiseVolume.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"

#include <fstream>
#include <sstream>

namespace {

// Every parameter the scenes and modules set on their effects, and the given techniques, each one
// pass writing as many colours as the widest target set a scene binds.
std::string StandIn(const std::vector<std::string>& techniques)
{
    std::string source = R"(
shared float4x4 OldViewProj : OLDVIEWPROJ;
shared float Time : TIME;
shared float4x4 View : VIEW;
shared float4x4 ViewProj : VIEWPROJ;
shared float3 EyePos : EYEPOS;
shared float2 FocusMaxZ : FOCUS_MAXZ;
shared texture3D NoiseTex : NOISETEX;
shared texture2D NoiseVecTex : NOISEVECTEX;
float4x4 World : LOCAL;
float4x4 WorldViewProj : LOCALVIEWPROJ;
float4x4 Faces : MATORTH;
float4 Diffuse : DIFFUSE;
float4 Ambient : AMBIENT;
float2 Clip : SCROLLCLIP;
float TrailFade : TRAILFADE;
float3 Light1 : light1;
float3 Light2 : light2;
float3 Light3 : light3;
float3 Light4 : light4;
float3 Light5 : light5;
texture2D Background : BGTEX;
texture2D Depth : DEPTHTEX;
textureCUBE Environment : CUBETX;
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0) * WorldViewProj; } }
glsl fragment F(vec4 Color : COLOR0, vec4 Second : COLOR1, vec4 Third : COLOR2) {
    void main() { Color = Diffuse; Second = Ambient; Third = vec4(Clip, TrailFade, 0.0); }
}
)";
    for (const std::string& technique : techniques)
        source += "technique " + technique + " { pass P0 { VertexShader = V; PixelShader = F; } }\n";
    return source;
}

std::string ShowTimeline()
{
    std::ifstream file(std::string(QL_SOURCE_DIR) + "/Data/events/Scenes.txt");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<unsigned char> SceneFile(const std::string& camera, const std::string& emitterSuffix)
{
    std::string text = "<scene><cameras><camera name=\"" + camera + "\"/></cameras><lights>";
    for (int i = 1; !emitterSuffix.empty() && i <= 3; ++i)
        text += "<spot name=\"emitter" + std::to_string(i) + "_" + emitterSuffix + "\" translation=\"" +
                std::to_string(i) + " 0 0\" radius=\"10\" coneangle=\"0.5\"/>";
    return Bytes(text + "</lights></scene>");
}

} // namespace

std::vector<unsigned char> ShowScenesFixture::Track(const std::vector<TrackRecord>& records)
{
    return EncodeTrackRecords(records);
}

std::vector<unsigned char> ShowScenesFixture::Constant(float value)
{
    return Track({{0, value, 0}});
}

void ShowScenesFixture::Assemble(const ArchiveEntries& replaced, const std::string& moreOptions)
{
    ArchiveEntries entries = StillCameraTracks();
    entries["Data\\events\\Scenes.txt"] = Bytes(ShowTimeline());
    entries["Data\\noise.bin"] = std::vector<unsigned char>(NoiseVolume::ByteCount, 0x80);
    entries["OShaders\\global.fxo"] = CompileEffect(StandIn({"Default", "Zbuffer"}));
    entries["OShaders\\PostEffects.fxo"] = CompiledShowEffect("PostEffects.fx");
    entries["OShaders\\Tindrevik.fxo"] = CompileEffect(StandIn({"Particle", "EnvParticle", "Metal", "ScrollerShader",
                                                               "ScrollerShader_zcull", "ScrollerShaderZBuffer",
                                                               "ScrollerShaderZBuffer_zcull"}));
    entries["OShaders\\EasiestFilterEver.fxo"] = CompileEffect(StandIn({"EasiestFilterEver"}));
    entries["OShaders\\Default.fxo"] = CompileEffect(StandIn({"Default", "Default_tex"}));
    entries["OShaders\\LiquidParticles.fxo"] = CompileEffect(StandIn({"DropsEveryTarget", "ColorParticles", "ParticleParticles"}));
    for (const char* mesh : {"usphere", "TindreVikCubeShape", "TindreVikPlaneShape", "boxShape", "TindrevikScrollShape1",
                             "TindrevikScrollShape2", "TindrevikScrollShape3", "TindrevikScrollShape4"})
        entries[std::string("Data\\") + mesh + ".x"] = Bytes(GreyTriangleMesh);
    const std::pair<const char*, const char*> parts[] = {
        {"Tindrevik_IntroScene.xml", "0"}, {"Tindrevik_scene1.xml", "1"}, {"Tindrevik_scene2.xml", "2"},
        {"Tindrevik_scene3.xml", "3"},     {"Tindrevik_scene4.xml", "4"}, {"Tindrevik_scene5.xml", "5"},
        {"Tindrevik_EndScene.xml", "666"}, {"Tindrevik_scrollerScene.xml", "scroller"}};
    for (const auto& [file, suffix] : parts)
        entries[std::string("Data\\") + file] = SceneFile(std::string("Cam") + suffix, suffix);
    entries["Data\\Tindrevik_boxScene.xml"] = SceneFile("BoxCam", "");
    for (const char* track : {"WhiteFade", "Box_force", "Box_dieoff", "Box_gravitation", "Filter_XSize",
                              "Filter_YSize", "Filter_Wildness"})
        entries[std::string("Data\\sync_") + track + ".track"] = Constant(0.0f);
    entries["Data\\sync_Particles_FieldForce.track"] = Constant(1.0f);
    entries["Data\\sync_Filter_NumQuads.track"] = Constant(3.0f);
    for (const auto& [name, bytes] : replaced)
        entries[name] = bytes;

    ArchiveWriter writer;
    for (const auto& [name, bytes] : entries)
        writer.Add(name, bytes);
    WriteArchive(writer.Build());
    framework = OpenShow("--nosetup --windowed --size 800x450 " + moreOptions, RecorderDirect3DCreator(recorder));
}

void ShowScenesFixture::TearDown()
{
    framework.reset();
    DXEffectFixture::TearDown();
}

std::vector<EffectPassSnapshot> ShowScenesFixture::Frame(double seconds, double delta)
{
    const size_t first = recorder->Count(Op::DrawIndexedPrimitive);
    Timer::SetFrameClock(seconds, delta);
    // The frame stands for a clock step of delta: its simulation takes that step's steps, not all
    // those since the last frame's time.
    SceneHandler::Instance()->SkipStepsTo(seconds - delta);
    framework->StepFrame();
    std::vector<EffectPassSnapshot> drawn;
    for (size_t draw = first; draw < recorder->Count(Op::DrawIndexedPrimitive); ++draw)
        drawn.push_back(draws.Draw(draw));
    return drawn;
}

std::vector<std::string> ShowScenesFixture::Techniques(const std::vector<EffectPassSnapshot>& drawn)
{
    std::vector<std::string> techniques;
    for (const EffectPassSnapshot& draw : drawn)
        techniques.push_back(draw.technique);
    return techniques;
}
