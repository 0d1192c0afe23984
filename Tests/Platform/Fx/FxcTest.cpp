// fxc as the build runs it: a good effect becomes loadable compiled data; a broken one fails with
// exit status 1 and messages naming the file and line, and writes nothing.
#include "Tools/ToolRun.h"

#include "Platform/Fx/CompiledEffect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

const char* const Common = R"(shared float Time : TIME;
glsl common {
    float Pulse(float t)
    {
        return 0.5 + 0.5 * sin(t);
    }
}
glsl vertex FullScreen(vec3 Position : POSITION0) {
    out vec2 uv;
    void main() { gl_Position = vec4(Position.xy, 0.0, 1.0); uv = Position.xy; }
}
)";

const char* const Effect = R"(#include "common.fxh"
float4 Tint : DIFFUSE = {1, 0.5, 0.25, 1};
glsl fragment Fill(vec4 Color : COLOR0) {
    in vec2 uv;
    void main() { Color = Tint * Pulse(Time) + vec4(uv, 0.0, 0.0); }
}
technique Fill {
    pass P0 { VertexShader = FullScreen; PixelShader = Fill; ZEnable = FALSE; }
}
)";

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class FxcTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fxc-test.XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        std::filesystem::create_directory("shaders");
        WriteText("shaders/common.fxh", Common);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }

    ToolRun Compile(const std::string& effect)
    {
        WriteText("effect.fx", effect);
        return Invoke(QL_FXC, {"effect.fx", "-I", "shaders", "-o", "effect.fxo"});
    }

    std::filesystem::path folder;
    std::filesystem::path previous;
};

} // namespace

TEST_F(FxcTest, CompilesAnEffectAndItsIncludesIntoDataThatLoads)
{
    const ToolRun run = Compile(Effect);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string bytes = ReadText("effect.fxo");
    const fx::EffectDescription effect =
        fx::LoadCompiledEffect("effect.fxo", std::vector<unsigned char>(bytes.begin(), bytes.end()));
    // The files as the show names them, not as the build found them.
    EXPECT_EQ(effect.files, (std::vector<std::string>{"effect.fx", "common.fxh"}));
    ASSERT_EQ(effect.techniques.size(), 1u);
    EXPECT_EQ(effect.techniques[0].passes[0].pixelShader, "Fill");
}

TEST_F(FxcTest, IncludesAreReadBesideTheSourceWhenNoFolderIsGiven)
{
    WriteText("shaders/effect.fx", Effect);
    const ToolRun run = Invoke(QL_FXC, {"shaders/effect.fx", "-o", "effect.fxo"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists("effect.fxo"));
}

TEST_F(FxcTest, AGlslErrorFailsWithTheFileAndLineItIsOn)
{
    const ToolRun inEffect = Compile(Replaced(Effect, "Tint * Pulse(Time)", "Tint * Pulse(Tme)"));
    EXPECT_EQ(inEffect.exitCode, 1);
    EXPECT_EQ(inEffect.err, "fxc: effect.fx: the GLSL does not compile\n"
                            "effect.fx:5: error: 'Tme' : undeclared identifier\n");
    EXPECT_FALSE(std::filesystem::exists("effect.fxo"));

    WriteText("shaders/common.fxh", Replaced(Common, "sin(t)", "sin(t, t)"));
    const ToolRun inInclude = Compile(Effect);
    EXPECT_EQ(inInclude.exitCode, 1);
    EXPECT_NE(inInclude.err.find("\nshaders/common.fxh:5: error: "), std::string::npos) << inInclude.err;
    EXPECT_FALSE(std::filesystem::exists("effect.fxo"));
}

TEST_F(FxcTest, BlocksThatDoNotLinkFailWithThePassThatJoinsThem)
{
    const ToolRun run = Compile(Replaced(Replaced(Effect, "in vec2 uv;", "in vec3 uv;"), "vec4(uv, 0.0, 0.0)", "vec4(uv, 0.0)"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("fxc: effect.fx:8: pass P0 of technique Fill: FullScreen and Fill do not link\n", 0), 0u)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists("effect.fxo"));
}

TEST_F(FxcTest, AStructuralErrorFailsWithTheFileAndLine)
{
    const ToolRun run = Compile(Replaced(Effect, "ZEnable = FALSE;", "ZEnable = FALSE\n"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "fxc: effect.fx:9: expected ';' to end the setting of ZEnable, found '}'\n");
    EXPECT_FALSE(std::filesystem::exists("effect.fxo"));

    WriteText("shaders/common.fxh", Replaced(Common, "shared float Time : TIME;", "shared float Time : TIME"));
    const ToolRun inInclude = Compile(Effect);
    EXPECT_EQ(inInclude.exitCode, 1);
    EXPECT_EQ(inInclude.err, "fxc: shaders/common.fxh:2: expected ';' to end the declaration of Time, found 'glsl'\n");
}

TEST_F(FxcTest, AMissingIncludeOrSourceFailsNamingIt)
{
    const ToolRun include = Compile(Replaced(Effect, "common.fxh", "nothere.fxh"));
    EXPECT_EQ(include.exitCode, 1);
    EXPECT_EQ(include.err, "fxc: effect.fx:1: cannot open include file \"nothere.fxh\"\n");
    const ToolRun source = Invoke(QL_FXC, {"absent.fx", "-o", "absent.fxo"});
    EXPECT_EQ(source.exitCode, 1);
    EXPECT_EQ(source.err, "fxc: absent.fx: cannot read the effect\n");
}

TEST_F(FxcTest, UsageErrorsExitWithTwoAndHelpWithZero)
{
    EXPECT_EQ(Invoke(QL_FXC, {}).exitCode, 2);
    EXPECT_EQ(Invoke(QL_FXC, {"effect.fx"}).exitCode, 2); // no -o
    EXPECT_EQ(Invoke(QL_FXC, {"effect.fx", "-o", "x", "--fast"}).exitCode, 2);
    const ToolRun help = Invoke(QL_FXC, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: fxc SOURCE.fx [-I INCLUDEDIR] -o OUT\n", 0), 0u);
}
