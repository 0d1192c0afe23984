// Compiler messages about a generated shader, pointed back at the effect's files and lines
// through the block's line table, whatever source string the compiler names.
#include "EffectSource.h"

#include "Platform/Fx/GlslLog.h"

#include <gtest/gtest.h>

using fx::GlslMessage;

namespace {

std::vector<std::string> Texts(const std::vector<GlslMessage>& messages)
{
    std::vector<std::string> texts;
    for (const GlslMessage& message : messages)
        texts.push_back((message.located ? "@ " : "- ") + message.text);
    return texts;
}

// Generated lines: 1 version, 2 Time (common.fxh:1), 3 Color (effect.fx:2), 4..6 the body
// (effect.fx:2..4).
const fx::EffectDescription Effect = ParseSource("#include \"common.fxh\"\nglsl fragment Fill(vec4 Color : COLOR0) {\n"
                                                 "    void main()\n    { Color = vec4(Time); }\n}\n",
                                                 {{"common.fxh", "shared float Time : TIME;\n"}});
const std::vector<std::string> Files{"shaders/Fill.fx", "shaders/common.fxh"};

} // namespace

TEST(GlslLogTest, GlslangMessagesNameTheEffectFileAndLine)
{
    const auto messages = fx::LocateGlslLog(Files, Effect.shaders[0],
                                            "/tmp/fxc.x/0.frag\n"
                                            "ERROR: 0:5: 'b' : undeclared identifier \n"
                                            "WARNING: 0:2: 'x' : unused\n"
                                            "ERROR: 1 compilation errors.  No code generated.\n\n");
    EXPECT_EQ(Texts(messages), (std::vector<std::string>{
                                   "- /tmp/fxc.x/0.frag",
                                   "@ shaders/Fill.fx:3: error: 'b' : undeclared identifier",
                                   "@ shaders/common.fxh:1: warning: 'x' : unused",
                                   "- ERROR: 1 compilation errors.  No code generated.",
                               }));
}

TEST(GlslLogTest, DriverMessagesWithColumnsAreLocatedWhateverTheirSourceString)
{
    const auto messages = fx::LocateGlslLog(Files, Effect.shaders[0],
                                            "0:6(12): error: `x' undeclared\r\n3:3(3): warning: unused variable");
    EXPECT_EQ(Texts(messages), (std::vector<std::string>{
                                   "@ shaders/Fill.fx:4: error: `x' undeclared",
                                   "@ shaders/Fill.fx:2: warning: unused variable",
                               }));
}

TEST(GlslLogTest, LinesWithoutAnEffectLineNameTheBlockAndTheGeneratedLine)
{
    const auto messages = fx::LocateGlslLog(Files, Effect.shaders[0], "ERROR: 0:1: 'version' : bad\n0:7(1): error: x\n1:x: not a place\n");
    EXPECT_EQ(Texts(messages), (std::vector<std::string>{
                                   "@ shaders/Fill.fx (glsl block Fill, generated line 1): error: 'version' : bad",
                                   "@ shaders/Fill.fx (glsl block Fill, generated line 7): error: x",
                                   "- 1:x: not a place",
                               }));
}
