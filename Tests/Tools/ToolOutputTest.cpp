// The data tools write their outputs whole or not at all. Under a file size limit below an output's
// size (a disk that fills up as the tool writes), each fails naming the file, leaves no temporary
// file behind, and an earlier output of the same name stays as it was.
#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"
#include "Support/SpecialFiles.h"

#include <random>

namespace fs = std::filesystem;

namespace {

constexpr size_t Limit = 1024;

std::vector<std::string> TemporaryFilesLeft()
{
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator("."))
        if (entry.path().filename().string().find(".partial-") != std::string::npos)
            left.push_back(entry.path().string());
    return left;
}

// Larger than the limit once compiled or packed.
void WriteInputs()
{
    std::string track, curve;
    for (int i = 0; i < 400; ++i) {
        track += std::to_string(i) + " 0.5 linear\n";
        curve += std::to_string(i) + " 1 0 0\n";
    }
    WriteText("keys.txt", track);
    WriteText("curve.txt", curve);

    std::string noise(16 * 1024, '\0');
    std::mt19937 random(5);
    for (char& c : noise)
        c = static_cast<char>(random());
    fs::create_directories("in/Data");
    WriteText("in/Data/noise.bin", noise); // incompressible

    std::string effect = "glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0); } }\n"
                         "glsl fragment F(vec4 Color : COLOR0) { void main() { Color = vec4(1.0); } }\n";
    // Many techniques over two small shaders: the shaders fxc checks stay below the limit.
    for (int i = 0; i < 40; ++i)
        effect += "technique T" + std::to_string(i) + " { pass P0 { VertexShader = V; PixelShader = F; } }\n";
    WriteText("big.fx", effect);
}

class ToolOutputTest : public ArchiveFixture {};

TEST_F(ToolOutputTest, AToolOutOfDiskLeavesNoOutputAndAnEarlierOneIntact)
{
    WriteInputs();
    ASSERT_EQ(Invoke(QL_PACK, {"in", "-o", "packed.dat"}).exitCode, 0);
    struct Case {
        std::string tool;
        std::vector<std::string> args;
        std::string output;
    };
    const Case cases[] = {
        {QL_PACK, {"in", "-o", "out.dat"}, "out.dat"},
        {QL_PACK, {"--extract", "packed.dat", "out"}, "out/Data/noise.bin"},
        {QL_TRACKC, {"keys.txt", "-o", "keys.track"}, "keys.track"},
        {QL_CURVEC, {"curve.txt", "-o", "curve"}, "curve"},
        {QL_FXC, {"big.fx", "-o", "big.fxo"}, "big.fxo"},
    };
    fs::create_directories("out/Data");
    for (const Case& c : cases) {
        const std::string name = fs::path(c.tool).filename().string();
        WriteText(c.output, "an earlier output");
        const ToolRun full = Invoke(c.tool, c.args, Limit);
        EXPECT_EQ(full.exitCode, 1) << name;
        EXPECT_EQ(full.err, name + ": " + c.output + ": could not write the whole file: File too large\n");
        EXPECT_EQ(ReadText(c.output), "an earlier output") << name;
        EXPECT_EQ(TemporaryFilesLeft(), std::vector<std::string>{}) << name;

        // With room, the same run replaces the earlier output.
        const ToolRun roomy = Invoke(c.tool, c.args);
        EXPECT_EQ(roomy.exitCode, 0) << name << ": " << roomy.err;
        EXPECT_GT(fs::file_size(c.output), Limit) << name;
    }
}

TEST_F(ToolOutputTest, AToolFollowsALinkAndWritesADeviceOrAPipeWithoutReplacingIt)
{
    WriteInputs();
    ASSERT_EQ(Invoke(QL_PACK, {"in", "-o", "packed.dat"}).exitCode, 0);
    const std::string packed = ReadText("packed.dat");

    WriteText("target.dat", "an earlier output");
    fs::create_symlink("target.dat", "link.dat");
    const ToolRun linked = Invoke(QL_PACK, {"in", "-o", "link.dat"});
    EXPECT_EQ(linked.exitCode, 0) << linked.err;
    EXPECT_TRUE(fs::is_symlink("link.dat"));
    EXPECT_EQ(ReadText("target.dat"), packed);

    ToolRun piped;
    EXPECT_EQ(ReadPipeWhile("pipe", [&] { piped = Invoke(QL_PACK, {"in", "-o", "pipe"}); }), packed);
    EXPECT_EQ(piped.exitCode, 0) << piped.err;

    if (MakeFullDevice("full")) {
        const ToolRun full = Invoke(QL_PACK, {"in", "-o", "full"});
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_EQ(full.err, "pack: full: could not write the whole file: No space left on device\n");
        EXPECT_FALSE(fs::is_regular_file("full")) << "the device node was replaced by a file";
    }
    EXPECT_EQ(TemporaryFilesLeft(), std::vector<std::string>{});
}

} // namespace
