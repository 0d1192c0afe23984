// Compiler messages about generated shaders, pointed back at the effect's files and lines.
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

const std::vector<std::string> Files{"PostEffects.fx", "common.fxh"};

} // namespace

TEST(GlslLogTest, GlslangMessagesNameTheEffectFileOfTheirSourceString)
{
    const auto messages = fx::LocateGlslLog(Files, "/tmp/fxc.x/3.frag\n"
                                                   "ERROR: 2:14: 'b' : undeclared identifier \n"
                                                   "WARNING: 1:3: 'x' : unused\n"
                                                   "ERROR: 1 compilation errors.  No code generated.\n\n");
    EXPECT_EQ(Texts(messages), (std::vector<std::string>{
                                   "- /tmp/fxc.x/3.frag",
                                   "@ common.fxh:14: error: 'b' : undeclared identifier",
                                   "@ PostEffects.fx:3: warning: 'x' : unused",
                                   "- ERROR: 1 compilation errors.  No code generated.",
                               }));
}

TEST(GlslLogTest, DriverMessagesWithColumnsAreLocatedToo)
{
    const auto messages = fx::LocateGlslLog(Files, "1:7(12): error: `x' undeclared\r\n2:40(3): warning: unused variable");
    EXPECT_EQ(Texts(messages), (std::vector<std::string>{
                                   "@ PostEffects.fx:7: error: `x' undeclared",
                                   "@ common.fxh:40: warning: unused variable",
                               }));
}

TEST(GlslLogTest, PlacesOutsideTheEffectsFilesAreNamedAsGeneratedText)
{
    const auto messages = fx::LocateGlslLog(Files, "ERROR: 0:1: 'version' : bad\n0:2(1): error: x\nERROR: 3:5: y\n1:x: not a place\n");
    EXPECT_EQ(Texts(messages), (std::vector<std::string>{
                                   "@ PostEffects.fx (generated GLSL, string 0 line 1): error: 'version' : bad",
                                   "@ PostEffects.fx (generated GLSL, string 0 line 2): error: x",
                                   "@ PostEffects.fx (generated GLSL, string 3 line 5): error: y",
                                   "- 1:x: not a place",
                               }));
}
