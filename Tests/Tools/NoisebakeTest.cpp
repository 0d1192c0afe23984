#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"

#include "Framework/Noise/CrtRand.h"
#include "Framework/Noise/GradientNoise.h"
#include "Framework/Noise/NoiseVolume.h"

namespace {

class NoisebakeTest : public ArchiveFixture {};

TEST_F(NoisebakeTest, SeededBakeIsTheEnginesVolume)
{
#ifdef QL_SANITIZED
    GTEST_SKIP() << "two full bakes take minutes under the sanitizers; the plain build runs this";
#endif
    const ToolRun run = Invoke(QL_NOISEBAKE, {"--seed", "4000000000", "-o", "noise.bin"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");

    CrtRand::srand(4000000000u);
    GradientNoise::ResetTables();
    std::vector<unsigned char> volume(NoiseVolume::ByteCount);
    NoiseVolume::Bake(volume.data(), NoiseVolume::Edge, NoiseVolume::Edge, NoiseVolume::Edge * NoiseVolume::Edge, 2);
    GradientNoise::ResetTables();
    EXPECT_TRUE(ReadWholeFile("noise.bin") == volume);
}

TEST_F(NoisebakeTest, UnwritableOutputFailsBeforeBaking)
{
    const ToolRun run = Invoke(QL_NOISEBAKE, {"-o", "no/such/folder/noise.bin"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "noisebake: no/such/folder/noise.bin: cannot open the file for writing: No such file or directory\n");
}

TEST_F(NoisebakeTest, UsageErrorsExitWithTwo)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"--seed", "-1", "-o", "n.bin"}, {"--seed", "4294967296", "-o", "n.bin"}, {"--seed", "", "-o", "n.bin"},
             {"extra", "-o", "n.bin"}}) {
        EXPECT_EQ(Invoke(QL_NOISEBAKE, args).exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_FALSE(std::filesystem::exists("n.bin"));
    }
}

} // namespace
